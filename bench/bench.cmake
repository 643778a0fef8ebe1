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
