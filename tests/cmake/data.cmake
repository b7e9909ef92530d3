target_sources(engine_tests PRIVATE
  unit/mdb_row_cursor_test.cpp
  unit/row_stream_test.cpp
  unit/shown_text_test.cpp
  integration/mdb_engine_sample_test.cpp
  integration/mdb_engine_written_test.cpp
  integration/mdb_text_and_pages_test.cpp
)
target_link_libraries(morvask_test_support PUBLIC morvask_mdb)
target_link_libraries(engine_tests PRIVATE morvask_sampledb)
# The reader tests call GLib's allocator as libmdb does, and the page-read count runs the
# walk in this process, on libmdb directly.
target_link_libraries(engine_tests PRIVATE PkgConfig::MDB)
