target_sources(morvask_test_support PRIVATE support/TempDir.cpp)
target_sources(engine_tests PRIVATE
  unit/profile_file_test.cpp
  unit/wine_prefix_test.cpp
  unit/prefix_search_test.cpp
  integration/prefix_cli_test.cpp
  unit/ini_readers_test.cpp
  unit/run_files_test.cpp
  unit/run_warnings_test.cpp
  unit/run_settings_acceptance_test.cpp)
