# libFuzzer targets for the parsers of bytes that come from outside the program's own
# control: the reader process's pipe, the settings file, Windows paths and the exporter's
# progress lines. bench/fuzz.sh fuzzes them for a while; here each is also a test that runs
# its committed corpus once (seeds, and every input that once found a fault), which is
# named after the kind of input, as two targets read the reader's stream.
function(morvask_fuzzer name corpus)
  add_executable(${name} fuzz/${name}.cpp ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE morvask_test_support PkgConfig::MDB)
  add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 -timeout=60 ${CMAKE_SOURCE_DIR}/fuzz/corpus/${corpus})
  set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300)
endfunction()

morvask_fuzzer(row_frames_fuzzer reader_stream)
morvask_fuzzer(row_cursor_fuzzer reader_stream)
morvask_fuzzer(profile_file_fuzzer settings_file)
morvask_fuzzer(wine_prefix_fuzzer windows_path)
# The progress channel's parser lives in the Qt-free contract between the two programs.
morvask_fuzzer(progress_line_fuzzer progress_line)
target_link_libraries(progress_line_fuzzer PRIVATE morvask_contract)
