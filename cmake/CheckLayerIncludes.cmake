# Fails when a source of a layer includes a header of a layer it does not build on.
# Called with -DLAYER=name -DALLOWED=folder;folder -DSOURCES=file;file -DSTAMP=file.
cmake_minimum_required(VERSION 3.25)
foreach(source IN LISTS SOURCES)
  file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z]+)/.*" "\\1" folder "${line}")
    if(NOT folder IN_LIST ALLOWED)
      message(FATAL_ERROR "${source}: ${line}\nThe ${LAYER} layer builds only on: ${ALLOWED}")
    endif()
  endforeach()
endforeach()
file(TOUCH "${STAMP}")
