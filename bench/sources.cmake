# Benchmarks, run by hand (bench/export_bench.sh); not part of ctest.
add_executable(morvask-read-bench bench/read_bench.cpp)
# The page-read count walks the table in the bench's own process, on libmdb directly.
target_link_libraries(morvask-read-bench PRIVATE morvask_mdb PkgConfig::MDB)

# The peak memory of each process of a command, the forked readers included.
add_executable(morvask-process-peaks bench/process_peaks.cpp)

if(MORVASK_BUILD_GUI)
  # The desktop program clicked through its runs, for bench/desktop_bench.sh; not installed.
  add_executable(morvask-desktop-bench bench/desktop_bench_driver.cpp)
  target_link_libraries(morvask-desktop-bench PRIVATE morvask_ui)
  add_dependencies(morvask-desktop-bench morvask-export)
endif()
