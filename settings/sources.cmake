# Lutris keeps each game's Wine prefix in a YAML file; yaml-cpp reads it as Lutris wrote it,
# quoting and escapes included.
find_package(yaml-cpp REQUIRED)
target_sources(morvask_engine PRIVATE
  settings/EqualsIgnoringCase.cpp
  settings/IniReaders.cpp
  settings/PrefixSearch.cpp
  settings/ProfileFile.cpp
  settings/ProfileText.cpp
  settings/RunFiles.cpp
  settings/RunSettingsAcceptance.cpp
  settings/WinePrefix.cpp)
target_link_libraries(morvask_engine PRIVATE yaml-cpp)
