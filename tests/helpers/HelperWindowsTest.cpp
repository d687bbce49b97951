// The calculator and clock windows, created in this process.
#include <gtest/gtest.h>

#include "calculator/CalculatorWnd.h"
#include "clock/ClockWnd.h"
#include "support/WinTest.h"

namespace {

using helpers::CalculatorWnd;
using helpers::ClockWnd;

struct CalculatorWindow : testing::Test {
  void SetUp() override {
    ASSERT_TRUE(wnd.Create());
    ShowWindow(wnd.hwnd(), SW_SHOW);
    wintest::Pump();
  }
  void TearDown() override { DestroyWindow(wnd.hwnd()); }
  void Click(calc::Key key) {
    SendMessageW(wnd.Item(CalculatorWnd::ButtonId(key)), BM_CLICK, 0, 0);
  }
  void Type(const char* keys) {
    for (; *keys; ++keys) SendMessageW(wnd.hwnd(), WM_CHAR, static_cast<unsigned char>(*keys), 0);
  }
  std::string Display() const { return wintest::TextOf(wnd.Item(CalculatorWnd::kDisplayId)); }
  std::string Expression() const { return wintest::TextOf(wnd.Item(CalculatorWnd::kExpressionId)); }

  CalculatorWnd wnd;
};

TEST_F(CalculatorWindow, ButtonsAndKeysDriveTheDisplay) {
  EXPECT_EQ(wintest::TextOf(wnd.hwnd()), "计算器");
  EXPECT_EQ(Display(), "0");
  using calc::Key;
  for (Key k : {Key::Digit1, Key::Digit2, Key::Add, Key::Digit3, Key::Digit0}) Click(k);
  EXPECT_EQ(Display(), "30");
  EXPECT_EQ(Expression(), "12 +");
  Click(Key::Equals);
  EXPECT_EQ(Display(), "42");
  EXPECT_EQ(Expression(), "12 + 30 =");
  // A click gives the keys back to the window.
  EXPECT_EQ(GetFocus(), wnd.hwnd());

  Type(
      "\x1b"
      "5/0\r");
  EXPECT_EQ(Display(), "除数不能为零");
  Type("7*3=");
  EXPECT_EQ(Display(), "21");
  SendMessageW(wnd.hwnd(), WM_KEYDOWN, VK_F9, 0);
  EXPECT_EQ(Display(), "-21");
  Type("\b");
  EXPECT_EQ(Display(), "-21");  // a result is not edited
  SendMessageW(wnd.hwnd(), WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Display(), "0");

  // Every button is there with its caption.
  for (int i = 0; i < calc::kButtonCount; ++i)
    EXPECT_EQ(wintest::TextOf(wnd.Item(CalculatorWnd::ButtonId(calc::kButtons[i].key))),
              calc::kButtons[i].caption);
}

TEST_F(CalculatorWindow, PaintingLeaksNothing) {
  Type("1234567890.1234");
  RedrawWindow(wnd.hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD before = wintest::GdiObjects();
  for (int i = 0; i < 20; ++i) {
    Click(i % 2 ? calc::Key::Digit9 : calc::Key::Backspace);
    RedrawWindow(wnd.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  EXPECT_EQ(wintest::GdiObjects(), before);
}

TEST(ClockWindow, ShowsTheTimeOfItsClockAndFollowsIt) {
  wintest::ScopedEffects fx;
  fx.fake.now = SYSTEMTIME{2026, 12, 1, 7, 9, 5, 3, 0};
  ClockWnd wnd;
  ASSERT_TRUE(wnd.Create());
  ShowWindow(wnd.hwnd(), SW_SHOW);
  wintest::Pump();
  HWND time = wnd.Item(ClockWnd::kTimeId), date = wnd.Item(ClockWnd::kDateId);
  EXPECT_EQ(wintest::TextOf(wnd.hwnd()), "时钟");
  EXPECT_EQ(wintest::TextOf(time), "09:05:03");
  EXPECT_EQ(wintest::TextOf(date), "2026年12月7日 星期一");

  // The timer follows the clock, across midnight too, and each repaint of
  // the face gives back what it drew with.
  fx.fake.now = SYSTEMTIME{2026, 12, 1, 7, 23, 59, 59, 0};
  EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::TextOf(time) == "23:59:59"; }));
  UpdateWindow(wnd.hwnd());
  DWORD before = wintest::GdiObjects();
  fx.fake.now = SYSTEMTIME{2026, 12, 2, 8, 0, 0, 0, 0};
  EXPECT_TRUE(wintest::PumpUntil([&] { return wintest::TextOf(time) == "00:00:00"; }));
  EXPECT_EQ(wintest::TextOf(date), "2026年12月8日 星期二");
  UpdateWindow(wnd.hwnd());
  EXPECT_EQ(wintest::GdiObjects(), before);
  DestroyWindow(wnd.hwnd());
}

}  // namespace
