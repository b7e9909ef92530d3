target_sources(morvask_engine PRIVATE
  settings/EqualsIgnoringCase.cpp
  settings/IniReaders.cpp
  settings/ProfileFile.cpp
  settings/ProfileText.cpp
  settings/RunFiles.cpp
  settings/RunSettingsAcceptance.cpp
  settings/WinePrefix.cpp)
