target_sources(morvask_engine PRIVATE
  export/AdiOutputFile.cpp
  export/AdiTempFiles.cpp
  export/AdifWriter.cpp
  export/BandModeFreq.cpp
  export/ExportCounters.cpp
  export/ExportRun.cpp
  export/LogFileState.cpp
  export/OutputTarget.cpp
  export/QslStatus.cpp
  export/QsoRecordWriter.cpp
  export/QsoSelection.cpp
)
