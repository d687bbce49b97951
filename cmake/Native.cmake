# Native half: the portable core with sanitizers and its unit tests; then
# the Windows half as a nested cross build whose tests join this CTest run.
# With MIRVEN_BENCH the tree holds only the benchmarks: the core built
# optimised and without sanitizers (scripts/bench-build.sh makes it).
option(MIRVEN_BENCH "Build only the benchmarks, optimised and unsanitised" OFF)

if(NOT EXISTS ${CMAKE_BINARY_DIR}/core_anchor.cpp)
  file(WRITE ${CMAKE_BINARY_DIR}/core_anchor.cpp "// keeps the core library non-empty\n")
endif()
add_library(mirven_core STATIC ${CMAKE_BINARY_DIR}/core_anchor.cpp ${MIRVEN_CORE_SOURCES} ${MIRVEN_POSIX_SOURCES})
target_include_directories(mirven_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(mirven_core PRIVATE ${MIRVEN_WARNINGS})
mirven_bitmaps(mirven_core)
include(${CMAKE_SOURCE_DIR}/cmake/Sqlite.cmake)
target_link_libraries(mirven_core PUBLIC mirven_sqlite)
find_package(Threads REQUIRED)
target_link_libraries(mirven_core PUBLIC Threads::Threads)

if(MIRVEN_BENCH)
  # One target builds every benchmark program; the scripts run them.
  file(GLOB MIRVEN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  add_custom_target(mirven_benches)
  foreach(src ${MIRVEN_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE ${MIRVEN_WARNINGS})
    target_link_libraries(${name} PRIVATE mirven_core)
    add_dependencies(mirven_benches ${name})
  endforeach()
  return()
endif()

# The sanitizers go on our code. GoogleTest is built once, without them,
# and linked into both the AddressSanitizer and the ThreadSanitizer tests.
set(MIRVEN_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(mirven_core PRIVATE ${MIRVEN_SANITIZE})
target_link_options(mirven_core INTERFACE ${MIRVEN_SANITIZE})

add_executable(mirven_native_tests ${MIRVEN_NATIVE_TEST_SOURCES})
target_include_directories(mirven_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(mirven_native_tests PRIVATE ${MIRVEN_WARNINGS} ${MIRVEN_SANITIZE})
target_compile_definitions(mirven_native_tests PRIVATE
  MIRVEN_SOURCE_DIR="${CMAKE_SOURCE_DIR}" MIRVEN_BINARY_DIR="${CMAKE_BINARY_DIR}")
target_link_libraries(mirven_native_tests PRIVATE mirven_core GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(mirven_native_tests PROPERTIES LABELS native TIMEOUT 120)

# ThreadSanitizer cannot share a binary with AddressSanitizer: the scan
# session and what it runs on, with its tests, built again for it alone.
set(MIRVEN_TSAN -fsanitize=thread -fno-omit-frame-pointer)
set(MIRVEN_TSAN_SOURCES
  ${CMAKE_SOURCE_DIR}/src/cleanup/CleanAll.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/BrowserDatabases.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/CleanItems.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/KeepSites.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/CleanupText.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/JunkRules.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/KeepList.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/ScanSession.cpp
  ${CMAKE_SOURCE_DIR}/src/cleanup/ScanWalk.cpp
  ${CMAKE_SOURCE_DIR}/tests/cleanup/ScanSessionTest.cpp)
add_executable(mirven_tsan_tests ${MIRVEN_TSAN_SOURCES})
target_compile_options(mirven_tsan_tests PRIVATE ${MIRVEN_WARNINGS} ${MIRVEN_TSAN})
target_link_options(mirven_tsan_tests PRIVATE ${MIRVEN_TSAN})
target_include_directories(mirven_tsan_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(mirven_tsan_tests PRIVATE GTest::gtest_main Threads::Threads mirven_sqlite)
add_test(NAME native.ScanSessionThreads COMMAND mirven_tsan_tests)
set_tests_properties(native.ScanSessionThreads PROPERTIES LABELS native TIMEOUT 300
  ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1")

option(MIRVEN_WITH_WINDOWS "Build the Windows program and its tests" ON)
if(MIRVEN_WITH_WINDOWS)
  # The shipped program is always the i686 build in dist/. The window and
  # end-to-end tests run that build where Wine's 32-bit loader can start;
  # on machines that cannot start 32-bit Linux programs at all they run
  # the x86_64 build of the same sources instead.
  execute_process(COMMAND /usr/lib/wine/wine --version
                  RESULT_VARIABLE wine32_result OUTPUT_QUIET ERROR_QUIET)
  if(wine32_result EQUAL 0)
    set(MIRVEN_TEST_ARCH i686)
  else()
    set(MIRVEN_TEST_ARCH x86_64)
  endif()
  message(STATUS "Windows tests run the ${MIRVEN_TEST_ARCH} build")

  include(ExternalProject)
  foreach(arch i686 x86_64)
    if(arch STREQUAL "i686")
      set(dist ${MIRVEN_DIST_DIR})
    elseif(MIRVEN_TEST_ARCH STREQUAL "x86_64")
      set(dist ${CMAKE_BINARY_DIR}/windows-x86_64/dist)
    else()
      continue()
    endif()
    set(bin ${CMAKE_BINARY_DIR}/windows-${arch})
    # Only the build whose tests run here compiles them.
    if(arch STREQUAL MIRVEN_TEST_ARCH)
      set(tests ON)
    else()
      set(tests OFF)
    endif()
    ExternalProject_Add(windows-${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${bin}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
        -DCMAKE_BUILD_TYPE=Release
        -DGTEST_SOURCE_DIR=${GTEST_SOURCE_DIR}
        -DMIRVEN_DIST_DIR=${dist}
        -DMIRVEN_BUILD_ROOT=${CMAKE_BINARY_DIR}
        -DMIRVEN_WINDOWS_TESTS=${tests}
      INSTALL_COMMAND ""
      BUILD_ALWAYS TRUE
      USES_TERMINAL_BUILD TRUE)
    if(arch STREQUAL "i686")
      add_test(NAME windows.ShippedProgram COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-dist.sh)
      set_tests_properties(windows.ShippedProgram PROPERTIES LABELS windows)
    endif()
    if(arch STREQUAL MIRVEN_TEST_ARCH)
      set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${bin}/CTestTestfile.cmake)
    endif()
  endforeach()

  # The downloads in dist/: the setup program and the portable zip.
  add_custom_target(release ALL
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make_release.py ${MIRVEN_DIST_DIR}
            ${CMAKE_BINARY_DIR}/windows-i686/bitmaps/mirven.ico ${CMAKE_BINARY_DIR}/release)
  add_dependencies(release windows-i686)
endif()
