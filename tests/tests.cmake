# Three tiers under tests/<module>/: *_pure.cpp (core library, no display),
# *_gl.cpp (real OpenGL renderer under Xvfb), and tests/e2e (the real binary).
find_package(GTest REQUIRED)
find_package(X11 REQUIRED)
include(GoogleTest)

# One entry only: gtest_discover_tests passes on just the first of a list. The
# sanitizers' settings are built into the programs (tests/support/sanitizer_defaults.cpp).
set(TEST_ENV "SDL_AUDIODRIVER=dummy")

add_library(test_gl_support STATIC tests/support/gl.cpp tests/support/alerts.cpp)
target_link_libraries(test_gl_support PUBLIC tarksen_app GTest::gtest)
# Lets a test thread see when the program blocks for its next event.
target_link_options(test_gl_support INTERFACE -Wl,--wrap=SDL_WaitEvent)

add_executable(wmclose tests/support/wmclose.cpp)
target_link_libraries(wmclose PRIVATE X11::X11)
add_executable(xdnddrop tests/support/xdnddrop.cpp)
target_link_libraries(xdnddrop PRIVATE X11::X11)

foreach(m ${MODULES})
  file(GLOB pure CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${m}/*_pure.cpp)
  if(pure)
    add_executable(test_${m}_pure ${pure})
    target_link_libraries(test_${m}_pure PRIVATE tarksen_core GTest::gtest_main)
    gtest_discover_tests(test_${m}_pure PROPERTIES LABELS pure TIMEOUT 60 ENVIRONMENT "${TEST_ENV}")
  endif()
  file(GLOB gl CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${m}/*_gl.cpp)
  if(gl)
    add_executable(test_${m}_gl ${gl})
    target_link_libraries(test_${m}_gl PRIVATE test_gl_support GTest::gtest_main)
    add_dependencies(test_${m}_gl tarksen)  # BASFont.bmp beside the binaries
    gtest_discover_tests(test_${m}_gl WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      DISCOVERY_MODE PRE_TEST PROPERTIES LABELS gl TIMEOUT 60 ENVIRONMENT "${TEST_ENV}")
  endif()
endforeach()

# The include check reads the sources themselves.
add_executable(test_layers_pure tests/layers/layers_pure.cpp)
target_link_libraries(test_layers_pure PRIVATE GTest::gtest_main)
target_compile_definitions(test_layers_pure PRIVATE TARKSEN_SOURCE="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(test_layers_pure PROPERTIES LABELS pure TIMEOUT 60 ENVIRONMENT "${TEST_ENV}")

# The packed-file routines use only the C library: their tests run with the pure tier.
target_sources(test_strrt_pure PRIVATE ${CMAKE_SOURCE_DIR}/strrt/strrt.cpp)
# Their tests count the flushes of directories and can make them fail.
target_link_options(test_strrt_pure PRIVATE -Wl,--wrap=fsync)

# The file selector's tests count the lever's passes, can take SDL's base path away and
# note the texts of the alerts shown (GEMMessage by its mangled name).
target_link_options(test_filesel_gl PRIVATE -Wl,--wrap=SDL_Delay -Wl,--wrap=SDL_GetBasePath
  -Wl,--wrap=_Z10GEMMessageiiPKchS0_)

# The commands' tests note the texts of the alerts shown.
target_link_options(test_picfiles_gl PRIVATE -Wl,--wrap=_Z10GEMMessageiiPKchS0_)

# The block tool's test counts the renderer's read-backs: cuts and stamps make none.
target_link_options(test_paint_gl PRIVATE -Wl,--wrap=SDL_RenderReadPixels)

# The e2e tests of what users get drive the trees of make build (the optimized program,
# installed into a staging directory) and make build-package (the Debian package).
# make test brings both up to date first.
set(TARKSEN_PROGRAM_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH "The optimized build (make build)")
set(TARKSEN_PACKAGE_BUILD ${CMAKE_SOURCE_DIR}/build-package CACHE PATH
  "The tree that makes the Debian package (make build-package)")

file(GLOB e2e CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(e2e)
  add_executable(test_e2e ${e2e} tests/support/e2e.cpp)
  target_include_directories(test_e2e PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(test_e2e PRIVATE GTest::gtest_main tarksen_core)
  target_compile_definitions(test_e2e PRIVATE
    TARKSEN_BIN="$<TARGET_FILE:tarksen>"
    TARKSEN_CONVERT_BIN="$<TARGET_FILE:tarksen-convert>"
    TARKSEN_FONT="${CMAKE_SOURCE_DIR}/assets/BASFont.bmp"
    WMCLOSE_BIN="$<TARGET_FILE:wmclose>"
    XDNDDROP_BIN="$<TARGET_FILE:xdnddrop>"
    TARKSEN_LSAN_SUPP="${CMAKE_SOURCE_DIR}/tests/lsan.supp"
    TARKSEN_SOURCE="${CMAKE_SOURCE_DIR}"
    TARKSEN_VERSION="${PROJECT_VERSION}"
    TARKSEN_RELEASE_BIN="${TARKSEN_PROGRAM_BUILD}/tarksen"
    TARKSEN_PROGRAM_BUILD="${TARKSEN_PROGRAM_BUILD}"
    TARKSEN_PACKAGE_BUILD="${TARKSEN_PACKAGE_BUILD}")
  add_dependencies(test_e2e tarksen tarksen-convert wmclose xdnddrop)
  # Generous: the scaled scenarios take large screenshots, slow on a loaded machine.
  gtest_discover_tests(test_e2e DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS e2e TIMEOUT 300 ENVIRONMENT "${TEST_ENV}")
endif()

include(tests/convert/convert.cmake)
include(tests/web/web.cmake)

# The committed font must be what the glyph source generates.
add_test(NAME font_asset_matches_glyph_source
  COMMAND sh -c "'$<TARGET_FILE:mkfont>' '${CMAKE_SOURCE_DIR}/tools/font/glyphs.txt' font.bmp && cmp font.bmp '${CMAKE_SOURCE_DIR}/assets/BASFont.bmp'")
set_tests_properties(font_asset_matches_glyph_source PROPERTIES LABELS pure TIMEOUT 60)

# Replays every fuzz target's corpus (seeds and every crash found since) through
# the same entry point with a plain main, under the sanitizers of this build.
file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(f ${fuzzers})
  get_filename_component(n ${f} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" n ${n})
  add_executable(replay_${n} ${f} tests/support/replay_main.cpp)
  target_link_libraries(replay_${n} PRIVATE tarksen_core)
  add_test(NAME replay_${n}_corpus COMMAND replay_${n} ${CMAKE_SOURCE_DIR}/tests/fuzz/${n})
  set_tests_properties(replay_${n}_corpus PROPERTIES LABELS pure TIMEOUT 120)
endforeach()

# A gl test binary that gets SDL's software renderer must refuse to run.
add_test(NAME gl_tests_refuse_the_software_renderer
  COMMAND sh -c "SDL_RENDER_DRIVER=software '$<TARGET_FILE:test_platform_gl>' >out.txt 2>&1; rc=$?; grep -q 'need SDL.s OpenGL renderer' out.txt && [ $rc = 2 ]")
set_tests_properties(gl_tests_refuse_the_software_renderer PROPERTIES LABELS gl TIMEOUT 60
  ENVIRONMENT "${TEST_ENV}")

# make screenshot: the README's pictures, taken with the e2e helper.
add_executable(screenshot EXCLUDE_FROM_ALL tools/screenshot.cpp tests/support/e2e.cpp)
target_include_directories(screenshot PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(screenshot PRIVATE
  TARKSEN_BIN="$<TARGET_FILE:tarksen>"
  TARKSEN_FONT="${CMAKE_SOURCE_DIR}/assets/BASFont.bmp"
  WMCLOSE_BIN="$<TARGET_FILE:wmclose>"
  XDNDDROP_BIN="$<TARGET_FILE:xdnddrop>"
  TARKSEN_LSAN_SUPP="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
add_dependencies(screenshot tarksen wmclose xdnddrop)

# The BMP corpus, some of whose headers ask for terabytes: its own binary, whose
# sanitizer's allocator returns null there as malloc would, instead of aborting.
add_executable(test_bmp_corpus tests/picfiles/bmp_corpus.cpp)
target_link_libraries(test_bmp_corpus PRIVATE test_gl_support GTest::gtest_main)
add_dependencies(test_bmp_corpus tarksen)
gtest_discover_tests(test_bmp_corpus WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DISCOVERY_MODE PRE_TEST PROPERTIES LABELS gl TIMEOUT 120 ENVIRONMENT "${TEST_ENV}")
