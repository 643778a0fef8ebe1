# tarksen-convert end to end: the real binary on files made in the tests, its outputs
# read back with netpbm. It needs no display.
file(GLOB convert_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/convert/*_e2e.cpp)
add_executable(test_convert_e2e ${convert_tests})
target_link_libraries(test_convert_e2e PRIVATE tarksen_core GTest::gtest_main)
target_compile_definitions(test_convert_e2e PRIVATE
  TARKSEN_CONVERT_BIN="$<TARGET_FILE:tarksen-convert>" TARKSEN_VERSION="${PROJECT_VERSION}")
add_dependencies(test_convert_e2e tarksen-convert)
gtest_discover_tests(test_convert_e2e PROPERTIES LABELS e2e TIMEOUT 120 ENVIRONMENT "${TEST_ENV}")

# The picture-file gl tests compare --as-shown with what the paint program loads.
target_compile_definitions(test_picfiles_gl PRIVATE
  TARKSEN_CONVERT_BIN="$<TARGET_FILE:tarksen-convert>")
add_dependencies(test_picfiles_gl tarksen-convert)
