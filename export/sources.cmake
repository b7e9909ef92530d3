target_sources(morvask_engine PRIVATE
  export/AdiOutputFile.cpp
  export/AdifWriter.cpp
  export/BandModeFreq.cpp
  export/ExportCounters.cpp
  export/ExportRun.cpp
  export/QslStatus.cpp
  export/QsoRecordWriter.cpp
  export/QsoSelection.cpp
)
