#include <windows.h>

#include "app/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CMirvenComputerHelperApp app;
  app.InitInstance();
  // The window is gone: end here rather than wait for workers in static
  // destructors.
  ::ExitProcess(0);
  return 0;
}
