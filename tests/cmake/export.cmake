target_sources(engine_tests PRIVATE
  unit/adi_output_file_test.cpp
  unit/conversions_test.cpp
  unit/export_run_test.cpp
  unit/prefix_lookup_test.cpp
  unit/record_writer_test.cpp
)
