# The calculator and the clock that Mirven.exe carries: their models are part
# of the portable core, their windows of the Windows code; each program is
# linked by helpers.cmake from its own WinMain and resources.
include_directories(${CMAKE_CURRENT_LIST_DIR})
list(APPEND MIRVEN_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/calculator/CalcModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock/ClockModel.cpp)
list(APPEND MIRVEN_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/common/HelperWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculator/CalculatorWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clock/ClockWnd.cpp)
