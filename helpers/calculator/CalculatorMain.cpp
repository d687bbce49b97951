#include <windows.h>

#include "calculator/CalculatorWnd.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  helpers::CalculatorWnd window;
  return helpers::Run(window, show);
}
