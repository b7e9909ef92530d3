target_sources(morvask_engine PRIVATE
  settings/IniReaders.cpp
  settings/ProfileFile.cpp
  settings/ProfileText.cpp
  settings/RunSettingsAcceptance.cpp
  settings/WinePrefix.cpp)
