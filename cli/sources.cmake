# What the desktop program and the headless exporter agree on: option names, the report
# channel's records and how a failure travels. Plain C++, linked by both sides and the tests.
add_library(morvask_contract STATIC
  cli/ExportFailure.cpp
  cli/ExporterCommandLine.cpp
  cli/FatalSignalReport.cpp
  cli/ProgressRecord.cpp
  cli/ProgressWriter.cpp
  cli/StandardDescriptors.cpp
)
target_include_directories(morvask_contract PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(morvask_contract PUBLIC morvask_engine)

# The headless exporter's logic, apart from main so that the tests drive it with an
# in-memory database.
add_library(morvask_cli STATIC
  cli/ExportCommand.cpp
  cli/ExportOptions.cpp
  cli/FailureRecord.cpp
  cli/ProgressReporter.cpp
  cli/RunWarnings.cpp
)
target_link_libraries(morvask_cli PUBLIC morvask_engine morvask_contract)
target_include_directories(morvask_cli PRIVATE ${CMAKE_BINARY_DIR}/generated)

add_executable(morvask-export cli/main.cpp)
target_link_libraries(morvask-export PRIVATE morvask_cli morvask_mdb)
# Beside morvask, which starts it from the folder it was itself started from.
install(TARGETS morvask-export RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
