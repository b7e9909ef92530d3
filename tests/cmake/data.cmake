target_sources(engine_tests PRIVATE
  unit/recordset_test.cpp
  unit/row_frame_codec_test.cpp
  integration/mdb_engine_sample_test.cpp
)
target_link_libraries(morvask_test_support PUBLIC morvask_mdb)
