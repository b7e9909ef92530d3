# The sanitizer build (scripts/check-sanitized.sh): every target from here on is built with
# AddressSanitizer and UndefinedBehaviorSanitizer, and the first finding ends the process.
# _GLIBCXX_ASSERTIONS adds the standard library's own bounds checks, which see an index
# past a string's size even where the bytes behind it still belong to the allocation.
set(MORVASK_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${MORVASK_SANITIZER_FLAGS})
add_compile_definitions(_GLIBCXX_ASSERTIONS)
add_link_options(${MORVASK_SANITIZER_FLAGS})

# With clang the same tree builds the fuzz targets, so the code they reach carries
# libFuzzer's coverage hooks; in the other programs these hooks do nothing.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-fsanitize=fuzzer-no-link)
  set(MORVASK_BUILD_FUZZERS ON)
else()
  message(STATUS "Fuzz targets need clang (CXX=clang++); building only the sanitized tests")
  set(MORVASK_BUILD_FUZZERS OFF)
endif()
