#pragma once

// The application object: starts the common controls and runs the main
// window modally.
class CMirvenComputerHelperApp {
 public:
  bool InitInstance();
};
