target_sources(engine_tests PRIVATE
  unit/jet_text_test.cpp
  integration/database_writer_test.cpp
  integration/sample_installation_test.cpp
)
target_link_libraries(engine_tests PRIVATE morvask_sampledb)
# The sample tests run the tool itself.
add_dependencies(engine_tests morvask-sampledb)
