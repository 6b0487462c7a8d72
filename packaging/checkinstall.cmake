# Installs the build into an empty prefix and checks that it holds exactly the expected files
# (no test or benchmark slips in) and that the menu entry starts an installed program with an
# installed icon.
#   cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -DEXPECTED=<files> -P checkinstall.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT found)
list(SORT EXPECTED)
if(NOT found STREQUAL EXPECTED)
  message(FATAL_ERROR "installed:\n  ${found}\nexpected:\n  ${EXPECTED}")
endif()

file(GLOB entries ${PREFIX}/*/applications/*.desktop)
foreach(entry IN LISTS entries)
  file(STRINGS ${entry} exec REGEX "^Exec=")
  file(STRINGS ${entry} icon REGEX "^Icon=")
  string(REGEX REPLACE "^Exec=([^ ]*).*" "\\1" exec "${exec}")
  string(REGEX REPLACE "^Icon=" "" icon "${icon}")
  file(GLOB program ${PREFIX}/*/${exec})
  file(GLOB picture ${PREFIX}/*/icons/hicolor/scalable/apps/${icon}.svg)
  if(NOT program OR NOT picture)
    message(FATAL_ERROR "${entry}: Exec=${exec} or Icon=${icon} is not installed")
  endif()
  find_program(validate desktop-file-validate)
  if(validate)
    execute_process(COMMAND ${validate} ${entry} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "desktop-file-validate rejects ${entry}")
    endif()
  else()
    message(STATUS "desktop-file-validate not found (scripts/install-deps package): "
                   "${entry} not validated")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
