# Windows half: Mirven.exe (PE32, GUI, statically linked), the window tests
# and the end-to-end tests, all run under Wine through wine-run.sh.
set(MIRVEN_BUILD_ROOT ${CMAKE_BINARY_DIR} CACHE PATH "Top build folder (holds the Wine prefix)")
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
                        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

set(MIRVEN_WIN_LIBS comctl32 gdi32 msimg32 shell32 shlwapi ole32 oleaut32 uuid
    advapi32 user32 kernel32 winmm wininet ws2_32 psapi version secur32 crypt32)

if(NOT EXISTS ${CMAKE_BINARY_DIR}/core_anchor.cpp)
  file(WRITE ${CMAKE_BINARY_DIR}/core_anchor.cpp "// keeps the core library non-empty\n")
endif()
add_library(mirven_core STATIC ${CMAKE_BINARY_DIR}/core_anchor.cpp ${MIRVEN_CORE_SOURCES})
target_include_directories(mirven_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(mirven_core PRIVATE ${MIRVEN_WARNINGS})
mirven_bitmaps(mirven_core)
include(${CMAKE_SOURCE_DIR}/cmake/Sqlite.cmake)
target_link_libraries(mirven_core PUBLIC mirven_sqlite)

set(MIRVEN_RC ${CMAKE_SOURCE_DIR}/src/res/Mirven.rc)
file(GLOB MIRVEN_RC_DEPENDS ${CMAKE_SOURCE_DIR}/src/res/*.h ${CMAKE_SOURCE_DIR}/src/res/*.manifest
     ${CMAKE_SOURCE_DIR}/src/res/*.ico ${CMAKE_SOURCE_DIR}/src/res/*.rc)
set_source_files_properties(${MIRVEN_RC} PROPERTIES
  OBJECT_DEPENDS "${MIRVEN_BITMAP_DIR}/bitmaps.rc;${MIRVEN_RC_DEPENDS}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${MIRVEN_BITMAP_DIR} -I${CMAKE_SOURCE_DIR}/src/res -I${CMAKE_SOURCE_DIR}/src")

add_library(mirven_win STATIC ${MIRVEN_WIN_SOURCES})
target_compile_options(mirven_win PRIVATE ${MIRVEN_WARNINGS})
target_link_libraries(mirven_win PUBLIC mirven_core ${MIRVEN_WIN_LIBS})

add_executable(Mirven WIN32 ${CMAKE_SOURCE_DIR}/src/app/WinMain.cpp ${MIRVEN_RC})
add_dependencies(Mirven mirven_bitmaps)
target_compile_options(Mirven PRIVATE ${MIRVEN_WARNINGS})
target_link_libraries(Mirven PRIVATE mirven_win)
add_custom_command(TARGET Mirven POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MIRVEN_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Mirven> ${MIRVEN_DIST_DIR}/Mirven.exe)
include(${CMAKE_SOURCE_DIR}/helpers/helpers.cmake)
include(${CMAKE_SOURCE_DIR}/cmake/Sound.cmake)
add_dependencies(Mirven mirven_sound)

# GoogleTest built with the same compiler; Windows threads come from the
# posix flavour of mingw-w64.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(mirven_windows_tests target label sources suites)
  add_executable(${target} ${sources} ${MIRVEN_RC})
  add_dependencies(${target} mirven_bitmaps Mirven)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${target} PRIVATE ${MIRVEN_WARNINGS})
  target_compile_definitions(${target} PRIVATE
    MIRVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}" MIRVEN_DIST_DIR="${MIRVEN_DIST_DIR}")
  target_link_libraries(${target} PRIVATE mirven_win gtest uuid oleacc)
  foreach(suite ${suites})
    add_test(NAME ${label}.${suite} COMMAND ${target} --gtest_filter=${suite}.*)
    set_tests_properties(${label}.${suite} PROPERTIES
      LABELS ${label} RESOURCE_LOCK wine TIMEOUT 300
      ENVIRONMENT "MIRVEN_BUILD=${MIRVEN_BUILD_ROOT}")
  endforeach()
endfunction()

option(MIRVEN_WINDOWS_TESTS "Build the window and end-to-end tests" ON)
if(MIRVEN_WINDOWS_TESTS AND MIRVEN_WINDOWS_TEST_SOURCES)
  mirven_windows_tests(mirven_windows_tests windows
    "${MIRVEN_WINDOWS_TEST_SOURCES}" "${MIRVEN_WINDOWS_TEST_SUITES}")
endif()
if(MIRVEN_WINDOWS_TESTS AND MIRVEN_WINDOWS_TEST_SOURCES)
  # The display-scale suite again at the other common scales: the prefix's
  # LogPixels is set before Wine first starts in it (wine-env.sh).
  foreach(dpi 120 144 192)
    add_test(NAME windows.DisplayScale${dpi}
             COMMAND mirven_windows_tests --gtest_filter=DisplayScale.*)
    set_tests_properties(windows.DisplayScale${dpi} PROPERTIES
      LABELS windows RESOURCE_LOCK wine TIMEOUT 300
      ENVIRONMENT "MIRVEN_BUILD=${MIRVEN_BUILD_ROOT};MIRVEN_DPI=${dpi}")
  endforeach()
endif()
if(MIRVEN_WINDOWS_TESTS AND MIRVEN_E2E_TEST_SOURCES)
  mirven_windows_tests(mirven_e2e_tests e2e
    "${MIRVEN_E2E_TEST_SOURCES}" "${MIRVEN_E2E_TEST_SUITES}")
endif()
# The downloads are made from the i686 program (scripts/make_release.py);
# their tests run in a Wine prefix and home of their own (release-run.sh).
if(MIRVEN_RELEASE_TEST_SOURCES AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  mirven_windows_tests(mirven_release_tests release "${MIRVEN_RELEASE_TEST_SOURCES}" "")
  add_test(NAME release.InstallerE2E COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/release-run.sh
           $<TARGET_FILE:mirven_release_tests> --gtest_filter=InstallerE2E.*)
  add_test(NAME release.Artefacts COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/check-artefacts.sh
           ${MIRVEN_DIST_DIR} ${MIRVEN_BITMAP_DIR}/mirven.ico $<TARGET_FILE:mirven_release_tests>)
  set_tests_properties(release.InstallerE2E release.Artefacts PROPERTIES
    LABELS release RESOURCE_LOCK wine-release TIMEOUT 600 ENVIRONMENT "MIRVEN_BUILD=${MIRVEN_BUILD_ROOT}")
endif()
