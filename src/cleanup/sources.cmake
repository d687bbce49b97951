list(APPEND MIRVEN_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BrowserDatabases.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BrowserProfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanAll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanItems.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanupFlow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanupList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanupRun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanupText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ItemOptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ItemScan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JunkRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeepList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeepSites.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OptionList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScanSession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScanWalk.cpp)
list(APPEND MIRVEN_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CheckListBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CleanupWork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileOps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ItemEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JunkListBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeepListDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeepStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MirvenComputerHelperDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecycleBin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunLock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunningPrograms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Traces.cpp)
list(APPEND MIRVEN_POSIX_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/PosixItemSystem.cpp)
