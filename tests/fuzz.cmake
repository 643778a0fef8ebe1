# Every tests/fuzz/<name>_fuzz.cpp defines LLVMFuzzerTestOneInput over a core routine
# and becomes the libFuzzer target fuzz_<name>; its seed corpus is tests/fuzz/<name>/.
# The same files are replayed over their corpus by make test (see tests.cmake).
file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(f ${fuzzers})
  get_filename_component(n ${f} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" n ${n})
  add_executable(fuzz_${n} ${f})
  target_compile_options(fuzz_${n} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(fuzz_${n} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_${n} PRIVATE tarksen_core)
endforeach()
# The codec itself must be instrumented too, or the fuzzer sees no coverage of it
# and no memory checks in it.
if(fuzzers)
  target_compile_options(tarksen_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
  # Whatever else links the core needs the sanitizer runtimes too.
  target_link_options(tarksen_core INTERFACE -fsanitize=address,undefined)
endif()
