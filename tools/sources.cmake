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
  tools/mdbwriter/TableDefinitionPage.cpp
  tools/mdbwriter/TableLayout.cpp
  tools/mdbwriter/TableWriter.cpp
  tools/mdbwriter/UsageMap.cpp
)
target_include_directories(morvask_mdbwriter PUBLIC ${CMAKE_SOURCE_DIR})
