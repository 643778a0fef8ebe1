# The browser build (make web): the program as WebAssembly in a static web folder,
# compiled by emscripten against SDL built with the same compiler (web/web.mk).
# The loops stay as they are; ASYNCIFY lets them sleep while the browser runs.

# The browser's shell brings its own host turn in place of the desktop's.
get_target_property(app_sources tarksen_app SOURCES)
list(REMOVE_ITEM app_sources ${CMAKE_SOURCE_DIR}/platform/yield.cpp)
set_property(TARGET tarksen_app PROPERTY SOURCES ${app_sources})

set(TARKSEN_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "The folder a web server serves")

add_executable(tarksen web/shell.cpp)
target_link_libraries(tarksen PRIVATE tarksen_app)
target_link_options(tarksen PRIVATE
  -sASYNCIFY
  # Room for the frames of the deepest sleeping stack (dialogs inside the control screen).
  -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH
  -sEXIT_RUNTIME
  -sENVIRONMENT=web
  # The page makes the WebGL context itself, keeping the drawing buffer between frames.
  -sGL_PREINITIALIZED_CONTEXT
  -lidbfs.js
  --pre-js ${CMAKE_SOURCE_DIR}/web/page.js)
set_target_properties(tarksen PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${TARKSEN_WEB_SITE}
  LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/page.js)

# The page and the font beside the program.
foreach(f web/index.html assets/BASFont.bmp)
  get_filename_component(n ${f} NAME)
  add_custom_command(OUTPUT ${TARKSEN_WEB_SITE}/${n}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${f} ${TARKSEN_WEB_SITE}/${n}
    DEPENDS ${CMAKE_SOURCE_DIR}/${f})
  list(APPEND site_files ${TARKSEN_WEB_SITE}/${n})
endforeach()
add_custom_target(site ALL DEPENDS ${site_files})
