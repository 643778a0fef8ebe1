# Installing the paint program (cmake --install, make install) and its Debian package
# (make package): the binary, the font, a desktop entry with the picture types it
# opens, icons drawn from its palette and font, and the manual page in English and
# Polish.
include(GNUInstallDirs)

# Where the installed program finds its font: the data directory, absolute as
# configured and as seen from the binary's directory (so a tree staged with DESTDIR
# or unpacked elsewhere finds its own copy).
file(RELATIVE_PATH tarksen_data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_DATADIR}/tarksen)
set_property(SOURCE platform/platform.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  TARKSEN_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/tarksen/"
  TARKSEN_DATA_FROM_BIN="${tarksen_data_from_bin}/")

# Icons for the desktop's icon theme, generated at build time by tools/mkicon.cpp.
add_executable(mkicon tools/mkicon.cpp)
target_include_directories(mkicon PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(mkicon PRIVATE tarksen_core SDL2::SDL2)
set(tarksen_icons)
foreach(n 32 64 128 256)
  list(APPEND tarksen_icons ${CMAKE_BINARY_DIR}/icons/${n}x${n}/apps/tarksen.png)
endforeach()
add_custom_command(OUTPUT ${tarksen_icons}
  COMMAND mkicon ${CMAKE_SOURCE_DIR}/assets/BASFont.bmp ${CMAKE_BINARY_DIR}/icons
  DEPENDS mkicon ${CMAKE_SOURCE_DIR}/assets/BASFont.bmp
  COMMENT "Drawing the icons")

# The manual pages, English and Polish, with the version and the data directory filled
# in, compressed.
set(tarksen_pages)
foreach(lang en pl)
  set(page ${CMAKE_BINARY_DIR}/man/${lang}/tarksen.1)
  if(lang STREQUAL en)
    configure_file(docs/tarksen.1.in ${page} @ONLY)
  else()
    configure_file(docs/tarksen.${lang}.1.in ${page} @ONLY)
  endif()
  add_custom_command(OUTPUT ${page}.gz COMMAND gzip -9nc ${page} > ${page}.gz DEPENDS ${page})
  list(APPEND tarksen_pages ${page}.gz)
endforeach()
add_custom_target(tarksen_data ALL DEPENDS ${tarksen_icons} ${tarksen_pages})

install(TARGETS tarksen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES assets/BASFont.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/tarksen)
install(FILES assets/tarksen.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES assets/tarksen-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
  RENAME tarksen.xml)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_BINARY_DIR}/man/en/tarksen.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/man/pl/tarksen.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/pl/man1)

# The Debian package installs under the configured prefix (make package configures
# /usr), so the paths built into the program and the manual page hold in it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarksen)
set(CPACK_PACKAGE_VENDOR "TARKSEN 2")
set(CPACK_PACKAGE_CONTACT "TARKSEN 2 developers <tarksen@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small mouse-driven paint program")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "One 640x400 window alternates between a control screen of labelled boxes\n(tools, 16 colours, line styles, pen widths, 36 fill patterns, five drawing\nmodes) and the picture itself, drawn on with the mouse. Polish texts.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
