# Copies the icon generator's NxN/apps/tarksen.png files as N.png:
#   cmake -DFROM=<mkicon's folder> -DTO=<folder> "-DSIZES=32;64" -P web/icons.cmake
file(MAKE_DIRECTORY ${TO})
foreach(n ${SIZES})
  file(COPY_FILE ${FROM}/${n}x${n}/apps/tarksen.png ${TO}/${n}.png)
endforeach()
