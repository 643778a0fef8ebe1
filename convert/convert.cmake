# tarksen-convert: the command-line converter, a shell over the core library's picture
# codecs (libpng for PNG among them); SDL only for its BMP reader (no subsystem is started).
file(GLOB convert_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/convert/*.cpp)
add_executable(tarksen-convert ${convert_sources})
target_link_libraries(tarksen-convert PRIVATE tarksen_core SDL2::SDL2 Threads::Threads)
target_compile_definitions(tarksen-convert PRIVATE TARKSEN_CONVERT_VERSION="${PROJECT_VERSION}")

include(GNUInstallDirs)
install(TARGETS tarksen-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/convert/tarksen-convert.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
