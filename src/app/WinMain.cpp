#include <windows.h>

#include "app/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CMirvenComputerHelperApp app;
  app.InitInstance();
  return 0;
}
