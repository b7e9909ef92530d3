target_sources(engine_tests PRIVATE
  unit/conversions_test.cpp
  unit/export_run_test.cpp
  unit/adi_output_file_test.cpp
  unit/adif_lines_test.cpp
  unit/progress_reporter_test.cpp
  unit/progress_record_test.cpp
  unit/fatal_signal_report_test.cpp
  integration/export_cli_test.cpp
  integration/export_cli_files_test.cpp
  integration/export_read_columns_test.cpp
  integration/log_changed_test.cpp
)
target_link_libraries(engine_tests PRIVATE morvask_cli)
# The end-to-end tests run the exporter itself.
add_dependencies(engine_tests morvask-export)
