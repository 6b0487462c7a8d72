# What a Windows build made on Linux takes from the build machine: the header-only libraries
# (CLI11, xxHash), GoogleTest built from Debian's sources for the target, and Wine to run the
# programs. Only those headers are exposed, never the rest of /usr/include.
set(host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${host_headers})
file(COPY /usr/include/CLI /usr/include/xxhash.h DESTINATION ${host_headers})
include_directories(SYSTEM ${host_headers})
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)

if(TESSAPLEX_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# Wine runs the tests in a prefix of the build's own, so that no run touches the home folder and
# every run starts alike. Its first start creates the prefix, which is slow: a test fixture does
# that once per run.
find_program(TESSAPLEX_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(TESSAPLEX_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine
  NO_CMAKE_FIND_ROOT_PATH)
if(TESSAPLEX_WINE)
  set(TESSAPLEX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(TESSAPLEX_WINE_ENV ${CMAKE_COMMAND} -E env WINEPREFIX=${TESSAPLEX_WINE_PREFIX}
    WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TESSAPLEX_WINE_ENV} ${TESSAPLEX_WINE})
else()
  message(WARNING "No Wine found: the Windows tests are built but cannot run here")
endif()
