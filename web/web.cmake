# The browser build (make web): the program as WebAssembly in a static web folder,
# compiled by emscripten against SDL built with the same compiler (web/web.mk).
# The loops stay as they are; ASYNCIFY lets them sleep while the browser runs.

# The browser's shell brings its own host turn in place of the desktop's, a stand-in
# for the PNG codec, as there is no libpng for the browser here, the recovery copy's
# storage, the site's (web/recovery.js), and no window icon, which a page has not.
get_target_property(app_sources tarksen_app SOURCES)
list(REMOVE_ITEM app_sources ${CMAKE_SOURCE_DIR}/platform/yield.cpp
  ${CMAKE_SOURCE_DIR}/paint/zapas_dysk.cpp ${CMAKE_SOURCE_DIR}/platform/icon.cpp)
list(APPEND app_sources ${CMAKE_SOURCE_DIR}/web/png.cpp ${CMAKE_SOURCE_DIR}/web/zapas.cpp
  ${CMAKE_SOURCE_DIR}/web/icon.cpp)
set_property(TARGET tarksen_app PROPERTY SOURCES ${app_sources})
get_target_property(core_sources tarksen_core SOURCES)
list(REMOVE_ITEM core_sources ${CMAKE_SOURCE_DIR}/picfiles/png_core.cpp)
set_property(TARGET tarksen_core PROPERTY SOURCES ${core_sources})

set(site ${CMAKE_BINARY_DIR}/site)  # the folder a web server serves

# The page's download is mostly the program, so the program's own code is built for
# size: optimized for size and across its files at the link (LTO), without C++
# exceptions. SDL, the C and C++ libraries and the link's own optimizer (-O3) stay
# as they are; the yardsticks below build their own code the same way. The browser
# build catches no exception anyway (emscripten's default): a throw ends the program
# as an abort does, and without exceptions the library's rare throws (a length past
# max_size) abort, and the glue that throws is left out. Only the files that catch
# std::bad_alloc on the desktop keep the compiler's default, as `try` needs it.
set(own_code_options -Oz -flto)
set(catching platform/surface.cpp paint/historia.cpp)
function(own_code target)
  target_compile_options(${target} PRIVATE ${own_code_options})
  get_target_property(sources ${target} SOURCES)
  foreach(f ${sources})
    get_filename_component(f ${f} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${f})
    if(NOT rel IN_LIST catching)
      set_property(SOURCE ${f} APPEND PROPERTY COMPILE_OPTIONS -fno-exceptions)
    endif()
  endforeach()
endfunction()
own_code(tarksen_core)
own_code(tarksen_app)

# ASYNCIFY instruments every function from which a sleep may be reached. Calls through
# pointers are taken for calls that never sleep (ASYNCIFY_IGNORE_INDIRECT): the program
# sleeps only where a sleep is called by name, down a chain of direct calls (SDL_Delay
# in SDL's event wait, the page's turn in SDLYield, fsync), never behind SDL's pointers:
# SDLPresent keeps SDL's swap from sleeping and gives the page its turn itself. A sleep
# reached through a pointer would resume the program wrongly, so a new one is called
# by name. That leaves the renderer, SDL's backends and most of the drawing code
# uninstrumented, a tenth of the program.
# These functions of SDL and of the C and C++ libraries never sleep either (they call
# through pointers: the renderer's backend, SDL's allocator, stdio's streams, qsort's
# comparison, new's handler), yet the analysis keeps some of them and their callers
# instrumented; left out, the program is 8 KB smaller compressed. A name that
# optimization has inlined away is only reported as unmatched, and the function it went
# into stays instrumented.
set(never_sleep
  # SDL's allocator, errors, log and thread-local storage
  SDL_calloc SDL_realloc SDL_strdup SDL_SIMDAlloc SDL_SetError SDL_LogMessageV SDL_TLSSet
  SDL_TLSGet SDL_AtomicLock
  # the renderer: drawing is queued and run on WebGL, never presented
  SDL_RenderCopy SDL_RenderClear SDL_RenderFillRect SDL_RenderDrawPoint SDL_RenderDrawLinesF
  SDL_RenderFlush SDL_RenderSetViewport SDL_RenderReadPixels SDL_SetRenderTarget
  SDL_SetRenderDrawBlendMode SDL_SetTextureBlendMode SDL_UpdateTexture SDL_LockTexture
  SDL_UnlockTexture SDL_CreateTexture SDL_DestroyTexture SDL_GetRendererOutputSize
  QueueCmdSetViewport QueueCmdGeometry QueueCmdFillRects QueueCmdDrawPoints PrepQueueCmdDraw
  RenderDrawPointsWithRectsF RenderDrawLinesWithRectsF FlushRenderCommandsIfTextureNeeded
  FlushRenderCommandsIfNotBatching SetDrawState GLES2_UpdateTextureYUV GLES2_UpdateTextureNV
  GLES2_UpdateTexture GLES2_UnbindTexture GLES2_TexSubImage2D GLES2_SetTextureScaleMode
  GLES2_SetRenderTarget GLES2_RunCommandQueue GLES2_RenderReadPixels GLES2_DestroyTexture
  GLES2_CacheShader GLES2_BindTexture GLES2_CreateTexture
  # surfaces, pixels and BMP files
  SDL_FreeSurface SDL_ConvertSurface SDL_UpperBlit SDL_SoftBlit SDL_CreateRGBSurfaceWithFormat
  SDL_AllocFormat SDL_FreeFormat SDL_MapSurface SDL_InvalidateMap SDL_SetPixelFormatPalette
  SDL_ConvertPixels SDL_FillRects SDL_UnlockSurface SDL_RLESurface SDL_UnRLESurface
  SDL_SoftStretch SDL_UpperSoftStretch SDL_LoadBMP_RW SDL_SaveBMP_RW
  # text input, the clipboard, the cursor, event types
  SDL_StartTextInput SDL_StopTextInput SDL_SetClipboardText SDL_ShowCursor SDL_EventState
  # the C library's streams and qsort, the C++ library's new
  printf_core __vfprintf_internal pop_arg __fwritex __overflow fflush __toread __shgetc
  stdio_read stdio_size stdio_close stdio_seek stdio_write close_file __ftello_unlocked
  __fseeko_unlocked trinkle sift operator.new*)
list(JOIN never_sleep "','" never_sleep)

add_executable(tarksen web/shell.cpp)
target_link_libraries(tarksen PRIVATE tarksen_app)
own_code(tarksen)
target_link_options(tarksen PRIVATE
  -flto
  -sASYNCIFY
  -sASYNCIFY_IGNORE_INDIRECT
  "-sASYNCIFY_REMOVE=['${never_sleep}']"
  # Room for the frames of the deepest sleeping stack (dialogs inside the control screen).
  -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH
  -sEXIT_RUNTIME
  -sENVIRONMENT=web
  # The page makes the WebGL context itself, keeping the drawing buffer between frames.
  -sGL_PREINITIALIZED_CONTEXT
  -lidbfs.js
  # (SHELL: keeps CMake from folding the repeated --pre-js into one.)
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/storage.js"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/recovery.js"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/keys.js"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/page.js")
set_target_properties(tarksen PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${site}
  LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/page.js;${CMAKE_SOURCE_DIR}/web/storage.js;${CMAKE_SOURCE_DIR}/web/recovery.js;${CMAKE_SOURCE_DIR}/web/keys.js")

# The font and the web app's manifest beside the program.
foreach(f assets/BASFont.bmp web/manifest.webmanifest)
  get_filename_component(n ${f} NAME)
  add_custom_command(OUTPUT ${site}/${n}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${f} ${site}/${n}
    DEPENDS ${CMAKE_SOURCE_DIR}/${f})
  list(APPEND site_files ${site}/${n})
endforeach()

# The manifest's icons, drawn by the desktop's icon generator, run here by node
# (emscripten's own way of running it passes options that this node refuses; and
# this glue would fetch its .wasm file as a URL where node has fetch).
find_program(NODE node REQUIRED)
add_executable(mkicon tools/mkicon.cpp)
target_include_directories(mkicon PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(mkicon PRIVATE tarksen_core SDL2::SDL2)
target_link_options(mkicon PRIVATE -sENVIRONMENT=node -sNODERAWFS -sEXIT_RUNTIME)
set(icon_sizes 32 64 128 256)
set(icons)
foreach(n ${icon_sizes})
  list(APPEND icons ${site}/icons/${n}.png)
endforeach()
add_custom_command(OUTPUT ${icons}
  COMMAND ${NODE} --no-experimental-fetch $<TARGET_FILE:mkicon> ${CMAKE_SOURCE_DIR}/assets/BASFont.bmp ${CMAKE_BINARY_DIR}/icons
  COMMAND ${CMAKE_COMMAND} -DFROM=${CMAKE_BINARY_DIR}/icons -DTO=${site}/icons
    "-DSIZES=${icon_sizes}" -P ${CMAKE_SOURCE_DIR}/web/icons.cmake
  DEPENDS mkicon ${CMAKE_SOURCE_DIR}/assets/BASFont.bmp ${CMAKE_SOURCE_DIR}/web/icons.cmake
  COMMENT "Drawing the icons" VERBATIM)

# The page and the service worker, stamped with the hash of everything above.
add_custom_command(OUTPUT ${site}/index.html ${site}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${site} -P ${CMAKE_SOURCE_DIR}/web/stamp.cmake
  DEPENDS tarksen ${site_files} ${icons} ${CMAKE_SOURCE_DIR}/web/index.html
    ${CMAKE_SOURCE_DIR}/web/sw.js ${CMAKE_SOURCE_DIR}/web/stamp.cmake
  COMMENT "Stamping the page with the build's version" VERBATIM)
add_custom_target(page ALL DEPENDS ${site}/index.html ${site}/sw.js)

# The yardsticks for start-up in the browser (make bench): the bare SDL program of
# bench/bare_window, built and paged the same way, each in a folder of its own: bare/
# clears and presents, bare-draw/ (run with --draw) also draws one rectangle and one
# texture copy, the least a program drawing anything with the renderer does.
get_target_property(web_link_options tarksen LINK_OPTIONS)
file(WRITE ${CMAKE_BINARY_DIR}/draw-once.js "Module.arguments = ['--draw'];\n")
foreach(yardstick bare bare-draw)
  string(REPLACE "-" "_" target ${yardstick})
  string(REPLACE "bare" "bare_window" target ${target})
  add_executable(${target} EXCLUDE_FROM_ALL bench/bare_window/main.cpp)
  target_link_libraries(${target} PRIVATE SDL2::SDL2)
  own_code(${target})
  target_link_options(${target} PRIVATE ${web_link_options})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME tarksen RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${yardstick}
    LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/page.js)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/index.html
            ${CMAKE_SOURCE_DIR}/assets/BASFont.bmp ${CMAKE_BINARY_DIR}/${yardstick})
endforeach()
target_link_options(bare_window_draw PRIVATE "SHELL:--pre-js ${CMAKE_BINARY_DIR}/draw-once.js")
