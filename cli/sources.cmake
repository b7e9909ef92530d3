# The headless exporter's logic, apart from main so that the tests drive it with an
# in-memory database.
add_library(morvask_cli STATIC
  cli/ExportCommand.cpp
  cli/ExportOptions.cpp
  cli/ProgressReporter.cpp
  cli/RunWarnings.cpp
)
target_link_libraries(morvask_cli PUBLIC morvask_engine)

add_executable(morvask-export cli/main.cpp)
target_link_libraries(morvask-export PRIVATE morvask_cli morvask_mdb)
