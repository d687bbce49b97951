# Each subsystem folder lists its own files in sources.cmake, appending to:
#   MIRVEN_CORE_SOURCES      portable core: no <windows.h>, built for both
#   MIRVEN_WIN_SOURCES       Windows-only code of the program
#   MIRVEN_POSIX_SOURCES     POSIX implementations of the seams (native tests, tools)
# and each tests/ folder to:
#   MIRVEN_NATIVE_TEST_SOURCES   GoogleTest cases on the core, run natively
#   MIRVEN_WINDOWS_TEST_SOURCES  GoogleTest cases run under Wine
#   MIRVEN_WINDOWS_TEST_SUITES   suite names; each becomes one CTest test
#   MIRVEN_E2E_TEST_SOURCES      cases that drive dist/Mirven.exe from outside
#   MIRVEN_E2E_TEST_SUITES
foreach(var CORE_SOURCES WIN_SOURCES POSIX_SOURCES NATIVE_TEST_SOURCES WINDOWS_TEST_SOURCES
            WINDOWS_TEST_SUITES E2E_TEST_SOURCES E2E_TEST_SUITES)
  set(MIRVEN_${var})
endforeach()
# Globbed so that a folder's new sources.cmake is seen without a reconfigure.
get_filename_component(MIRVEN_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(GLOB MIRVEN_SOURCE_LISTS CONFIGURE_DEPENDS
     ${MIRVEN_ROOT}/src/*/sources.cmake ${MIRVEN_ROOT}/helpers/sources.cmake
     ${MIRVEN_ROOT}/tests/*/sources.cmake)
list(SORT MIRVEN_SOURCE_LISTS)
foreach(list_file ${MIRVEN_SOURCE_LISTS})
  include(${list_file})
endforeach()

set(MIRVEN_WARNINGS -Wall -Wextra -Werror)

# Pictures are drawn by a script at build time: nothing binary is kept in git.
# It also writes res/Bitmaps.h, the names of the bitmaps, for the code.
function(mirven_bitmaps core)
  set(dir ${CMAKE_BINARY_DIR}/bitmaps)
  set(MIRVEN_BITMAP_DIR ${dir} PARENT_SCOPE)
  file(GLOB scripts ${CMAKE_SOURCE_DIR}/src/res/bitmaps/*.py)
  add_custom_command(
    OUTPUT ${dir}/bitmaps.rc ${dir}/res/Bitmaps.h
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/src/res/bitmaps/make_bitmaps.py ${dir}
    DEPENDS ${scripts}
    COMMENT "Drawing the bitmaps")
  add_custom_target(mirven_bitmaps DEPENDS ${dir}/bitmaps.rc ${dir}/res/Bitmaps.h)
  add_dependencies(${core} mirven_bitmaps)
  target_include_directories(${core} PUBLIC ${dir})
endfunction()
