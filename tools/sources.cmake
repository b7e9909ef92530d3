# The Access (Jet 4) file writer behind the test databases, the benchmarks and the sample
# installation; not part of the product.
add_library(morvask_mdbwriter STATIC
  tools/mdbwriter/DataPage.cpp
  tools/mdbwriter/DatabaseWriter.cpp
  tools/mdbwriter/HeaderPage.cpp
  tools/mdbwriter/JetText.cpp
  tools/mdbwriter/LongValueWriter.cpp
  tools/mdbwriter/PageFile.cpp
  tools/mdbwriter/RowEncoder.cpp
  tools/mdbwriter/SystemCatalog.cpp
  tools/mdbwriter/TableDefinitionPage.cpp
  tools/mdbwriter/TableLayout.cpp
  tools/mdbwriter/TableWriter.cpp
  tools/mdbwriter/UsageMap.cpp
)
target_include_directories(morvask_mdbwriter PUBLIC ${CMAKE_SOURCE_DIR})

# morvask-sampledb PREFIX [--contacts N] [--seed S]: a sample Qervel installation in a Wine prefix.
add_library(morvask_sampledb STATIC
  tools/sampledb/ContactGenerator.cpp
  tools/sampledb/PrefixCatalogue.cpp
  tools/sampledb/SampleInstallation.cpp
  tools/sampledb/SampleMarker.cpp
)
# The engine lends it the comparison of file names that Wine makes, to find an operator's
# files under any spelling before anything is written.
target_link_libraries(morvask_sampledb PUBLIC morvask_mdbwriter PRIVATE morvask_engine)
add_executable(morvask-sampledb tools/sampledb/main.cpp)
target_link_libraries(morvask-sampledb PRIVATE morvask_sampledb)
