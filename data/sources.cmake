target_sources(morvask_engine PRIVATE
  data/CDaoFieldExchange.cpp
  data/CDaoRecordset.cpp
  data/CExportDocument.cpp
  data/CMorvaskSet.cpp
  data/CmorvaskSet2.cpp
  data/FileDescriptor.cpp
  data/FileTypeText.cpp
  data/JetTextDecoder.cpp
  data/ShownText.cpp
  data/SignalText.cpp
  data/VersionCheck.cpp
  data/WriteAll.cpp
)

# Everything that touches libmdb, kept apart so that the desktop program links the engine
# without it; the headless exporter and the tests link this library.
add_library(morvask_mdb STATIC
  data/IncomingBytes.cpp
  data/MdbChildProcess.cpp
  data/MdbDatabase.cpp
  data/MdbEngine.cpp
  data/MdbFileCheck.cpp
  data/MdbLongValue.cpp
  data/MdbMessages.cpp
  data/MdbRowCracker.cpp
  data/MdbRowCursor.cpp
  data/MdbTableWalker.cpp
  data/MdbUsageMap.cpp
  data/PageStream.cpp
  data/RowBatchSender.cpp
  data/RowFrameCodec.cpp
)
target_link_libraries(morvask_mdb PUBLIC morvask_engine PRIVATE PkgConfig::MDB)
