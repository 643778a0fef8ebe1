# Stamps a built web folder with its version, the hash of its files:
#   cmake -DSITE=<folder> -P web/stamp.cmake
# writes SITE/index.html, whose references to the program and the font carry it, and
# SITE/sw.js, the service worker that stores that build for use offline. A build
# that changes any file gets another version, and the browser's stored copy is
# replaced at the next visit.
set(files tarksen.js tarksen.wasm BASFont.bmp manifest.webmanifest
  icons/32.png icons/64.png icons/128.png icons/256.png)
set(sums "")
foreach(f ${files})
  if(NOT EXISTS ${SITE}/${f})
    message(FATAL_ERROR "stamp: ${SITE}/${f} is missing")
  endif()
  file(SHA256 ${SITE}/${f} h)
  string(APPEND sums "${f} ${h}\n")
endforeach()
set(web ${CMAKE_CURRENT_LIST_DIR})  # the page's and the worker's templates
foreach(t index.html sw.js)
  file(SHA256 ${web}/${t} h)
  string(APPEND sums "web/${t} ${h}\n")
endforeach()
string(SHA256 VERSION "${sums}")
string(SUBSTRING ${VERSION} 0 16 VERSION)
configure_file(${web}/index.html ${SITE}/index.html @ONLY)
configure_file(${web}/sw.js ${SITE}/sw.js @ONLY)
