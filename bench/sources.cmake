# Sources of bench/ are added here.
add_executable(morvask-read-bench bench/read_bench.cpp)
target_link_libraries(morvask-read-bench PRIVATE morvask_mdb)

if(MORVASK_BUILD_GUI)
  # The desktop program clicked through its runs, for bench/desktop_bench.sh; not installed.
  add_executable(morvask-desktop-bench bench/desktop_bench_driver.cpp)
  target_link_libraries(morvask-desktop-bench PRIVATE morvask_ui)
  add_dependencies(morvask-desktop-bench morvask-export)
endif()
