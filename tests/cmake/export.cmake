target_sources(engine_tests PRIVATE
  unit/adi_output_file_test.cpp
  unit/conversions_test.cpp
  unit/export_command_test.cpp
  unit/export_run_test.cpp
  unit/prefix_lookup_test.cpp
  unit/record_writer_test.cpp
  integration/export_access_cases_test.cpp
  integration/export_cli_test.cpp
)
target_link_libraries(engine_tests PRIVATE morvask_cli)
# The end-to-end tests run the exporter itself.
add_dependencies(engine_tests morvask-export)
