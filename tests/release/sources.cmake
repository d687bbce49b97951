# Tests of the downloads (label release): they install the 32-bit program,
# so only the i686 build has them (cmake/Windows.cmake).
list(APPEND MIRVEN_RELEASE_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/InstallerE2E.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../e2e/E2E.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../net/Peers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/WinTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../support/WindowsMain.cpp)
