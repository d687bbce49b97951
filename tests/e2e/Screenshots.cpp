// Pictures of the program for people to look at: run by
// scripts/screenshots.sh (disabled in the test runs). Each picture is
// saved as a BMP of the screen area of a window (wintest::SaveScreen).
#include <gtest/gtest.h>

#include "e2e/E2E.h"
#include "support/WinTest.h"

namespace {

TEST(Screenshots, DISABLED_MainWindowPages) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  const char* names[] = {"page1-cleanup", "page2-toolkit", "page3-shopping", "page4-checkup",
                         "page5-memory"};
  for (int k = 1; k <= 5; ++k) {
    RECT r = e2e::RectOf(app.main());
    e2e::ClickPageButton(app, k);
    e2e::MoveMouse(r.left + e2e::D(700), r.top + e2e::D(300));  // off the buttons: no hover light
    e2e::Settle(app);
    EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(app.main()), names[k - 1]));
  }
}

TEST(Screenshots, DISABLED_AboutBox) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  PostMessageW(app.main(), WM_COMMAND, 32791, 0);
  HWND about = app.WaitForWindow("Mirven电脑助手", L"#32770", 5000);
  ASSERT_NE(about, nullptr);
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(about), "about"));
}

}  // namespace
