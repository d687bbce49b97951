#include <windows.h>

#include "app/App.h"
#include "cli/CommandLine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // With arguments the program runs without any window.
  if (cli::HasArguments(GetCommandLineW())) return cli::RunCommandLine(GetCommandLineW());
  CMirvenComputerHelperApp app;
  app.InitInstance();
  // The window is gone: end here rather than wait for workers in static
  // destructors.
  ::ExitProcess(0);
  return 0;
}
