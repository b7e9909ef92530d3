# Sources of bench/ are added here.
add_executable(morvask-read-bench bench/read_bench.cpp)
target_link_libraries(morvask-read-bench PRIVATE morvask_mdb)
