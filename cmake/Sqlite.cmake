# SQLite, the official amalgamation that scripts/setup.sh fetches into
# third_party/sqlite3 (never kept in git), built as a static C library:
# compiled for size, without our warnings (it is not our code) and without
# sanitizers, with only what reading and cleaning a browser's database needs.
set(MIRVEN_SQLITE_DIR ${CMAKE_SOURCE_DIR}/third_party/sqlite3)
set(MIRVEN_SQLITE_c_SHA256 60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422)
set(MIRVEN_SQLITE_h_SHA256 9e69a1353a4288450b0d5239ede11fc7f1f4c8e5eb07491fc8317eacb5b7de7e)
foreach(file c h)
  set(path ${MIRVEN_SQLITE_DIR}/sqlite3.${file})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "SQLite is missing: ${path} not found. Run scripts/setup.sh, "
                        "which fetches it from the npm package better-sqlite3@12.11.1.")
  endif()
  file(SHA256 ${path} sum)
  if(NOT sum STREQUAL MIRVEN_SQLITE_${file}_SHA256)
    message(FATAL_ERROR "SQLite's ${path} does not match its pinned SHA-256 "
                        "(it is ${sum}). Delete third_party/sqlite3 and run scripts/setup.sh again.")
  endif()
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${MIRVEN_SQLITE_DIR}/sqlite3.c ${MIRVEN_SQLITE_DIR}/sqlite3.h)

add_library(mirven_sqlite STATIC ${MIRVEN_SQLITE_DIR}/sqlite3.c)
target_include_directories(mirven_sqlite SYSTEM PUBLIC ${MIRVEN_SQLITE_DIR})
target_compile_options(mirven_sqlite PRIVATE -Os -w)
target_compile_definitions(mirven_sqlite PRIVATE
  SQLITE_THREADSAFE=2
  SQLITE_DEFAULT_FOREIGN_KEYS=0
  SQLITE_DQS=0
  SQLITE_DEFAULT_MEMSTATUS=0
  SQLITE_LIKE_DOESNT_MATCH_BLOBS
  SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_OMIT_DEPRECATED
  SQLITE_OMIT_SHARED_CACHE
  SQLITE_OMIT_TCL_VARIABLE
  SQLITE_OMIT_PROGRESS_CALLBACK
  SQLITE_OMIT_COMPLETE
  SQLITE_OMIT_GET_TABLE
  SQLITE_USE_ALLOCA)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  # Only the wide-character file functions: paths outside the ANSI code page work.
  target_compile_definitions(mirven_sqlite PRIVATE SQLITE_WIN32_NO_ANSI)
else()
  find_package(Threads REQUIRED)
  target_link_libraries(mirven_sqlite PUBLIC Threads::Threads ${CMAKE_DL_LIBS} m)
endif()
