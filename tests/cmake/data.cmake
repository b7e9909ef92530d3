target_sources(engine_tests PRIVATE unit/recordset_test.cpp)
