#include <windows.h>

#include "clock/ClockWnd.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  helpers::ClockWnd window;
  return helpers::Run(window, show);
}
