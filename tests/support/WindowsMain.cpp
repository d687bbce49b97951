// main() of the test programs that run under Wine.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/MainFrameOnline.h"

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  LoadLibraryW(L"riched20.dll");
  // No test reaches the maker's real server: without a server of its own
  // a test talks to a closed local port. Tests that want the start-up
  // update check turn it on themselves.
  if (std::getenv("MIRVEN_SERVER") == nullptr) _putenv_s("MIRVEN_SERVER", "http://127.0.0.1:9");
  MainFrameOnline::SetUpdateDelay(0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
