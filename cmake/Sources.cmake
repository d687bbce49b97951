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
set(MIRVEN_SUBSYSTEMS ui app controls cleanup memory checkup net tools res)
foreach(var CORE_SOURCES WIN_SOURCES POSIX_SOURCES NATIVE_TEST_SOURCES WINDOWS_TEST_SOURCES
            WINDOWS_TEST_SUITES E2E_TEST_SOURCES E2E_TEST_SUITES)
  set(MIRVEN_${var})
endforeach()
foreach(dir ${MIRVEN_SUBSYSTEMS})
  include(${CMAKE_CURRENT_LIST_DIR}/../src/${dir}/sources.cmake OPTIONAL)
  include(${CMAKE_CURRENT_LIST_DIR}/../tests/${dir}/sources.cmake OPTIONAL)
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/../tests/support/sources.cmake OPTIONAL)
include(${CMAKE_CURRENT_LIST_DIR}/../tests/e2e/sources.cmake OPTIONAL)

set(MIRVEN_WARNINGS -Wall -Wextra -Werror)
