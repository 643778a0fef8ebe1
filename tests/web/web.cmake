# The web tier: the browser version (make web) in Debian's Chromium and Firefox ESR,
# driven by tests/web/driver.mjs, beside the desktop program under the e2e helper.
# make test builds the web folder and installs the browsers and the driver's packages
# first.
set(TARKSEN_WEB_SITE ${CMAKE_SOURCE_DIR}/build-web/tarksen/site CACHE PATH
  "The browser version's folder, as make web builds it")

add_executable(test_web tests/web/web_e2e.cpp tests/web/browser.cpp tests/support/e2e.cpp)
target_include_directories(test_web PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(test_web PRIVATE GTest::gtest_main tarksen_core)
# The desktop side is the e2e helper's, with the e2e tests' settings.
get_target_property(e2e_definitions test_e2e COMPILE_DEFINITIONS)
target_compile_definitions(test_web PRIVATE ${e2e_definitions}
  TARKSEN_WEB_SITE="${TARKSEN_WEB_SITE}"
  TARKSEN_WEB_DRIVER="${CMAKE_SOURCE_DIR}/tests/web/driver.mjs"
  TARKSEN_WEB_STAMP="${CMAKE_SOURCE_DIR}/web/stamp.cmake"
  TARKSEN_ICONS="${CMAKE_BINARY_DIR}/icons")
add_dependencies(test_web tarksen wmclose tarksen_data)
gtest_discover_tests(test_web DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
  PROPERTIES LABELS web TIMEOUT 300 ENVIRONMENT "${TEST_ENV}")

# The development server on its own: bad requests, links out of the site, other hosts.
add_test(NAME web_serve COMMAND node --test ${CMAKE_SOURCE_DIR}/tests/web/serve_test.mjs)
set_tests_properties(web_serve PROPERTIES LABELS web TIMEOUT 60)
