# The base library, below every subsystem: text conversion, kernel handles,
# paths, known folders, seams and the one folder lister.
list(APPEND MIRVEN_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/DirectoryLister.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Paths.cpp)
list(APPEND MIRVEN_POSIX_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/PosixLister.cpp)
list(APPEND MIRVEN_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/FileRead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Folders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinLister.cpp)
