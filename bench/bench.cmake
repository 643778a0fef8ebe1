# Every bench/*.cpp is one Google Benchmark program bench_<name>, built by make bench.
find_package(benchmark REQUIRED)
file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(b ${benches})
  get_filename_component(n ${b} NAME_WE)
  add_executable(bench_${n} ${b})
  target_link_libraries(bench_${n} PRIVATE tarksen_app benchmark::benchmark)
  target_compile_definitions(bench_${n} PRIVATE
    TARKSEN_BIN="$<TARGET_FILE:tarksen>" TARKSEN_SOURCE="${CMAKE_SOURCE_DIR}")
  add_dependencies(bench_${n} tarksen)
endforeach()

# Start-up is measured against a bare SDL program that opens the same window.
add_executable(bare_window bench/bare_window/main.cpp)
target_link_libraries(bare_window PRIVATE SDL2::SDL2)
target_link_libraries(bench_startup PRIVATE X11)
target_compile_definitions(bench_startup PRIVATE BARE_BIN="$<TARGET_FILE:bare_window>")
add_dependencies(bench_startup bare_window)

# The file selector's opening is timed to its first present.
target_link_options(bench_filesel PRIVATE -Wl,--wrap=SDL_RenderPresent)

# The converter against netpbm.
target_compile_definitions(bench_convert PRIVATE TARKSEN_CONVERT_BIN="$<TARGET_FILE:tarksen-convert>")
add_dependencies(bench_convert tarksen-convert)

# Start-up in the browser: the folders make web-bench builds, timed in Chromium.
target_compile_definitions(bench_webstart PRIVATE WEB_BUILD="${CMAKE_SOURCE_DIR}/build-web/tarksen")
