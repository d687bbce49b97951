// The program as a new user meets it: started on its own, driven with the
// mouse, closed through its question box.
#include <gtest/gtest.h>

#include "e2e/E2E.h"

namespace {

const char* const kPages[] = {"系统清理", "工具助手", "网购导航", "电脑体检", "优化加速"};

int VisiblePage(const e2e::RunningApp& app) {
  int found = 0;
  for (int k = 1; k <= 5; ++k)
    if (IsWindowVisible(app.Page(kPages[k - 1]))) found = found ? -1 : k;
  return found;
}

// Screen point of a window-relative position.
POINT At(HWND h, int x, int y) {
  RECT r = e2e::RectOf(h);
  return POINT{r.left + x, r.top + y};
}

HWND CloseQuestion(const e2e::RunningApp& app) {
  HWND box = app.WaitForWindow("Mirven电脑助手", L"#32770", 5000);
  if (!box) return nullptr;
  // The message text is a static of the box.
  HWND text = FindWindowExW(box, nullptr, L"Static", L"您确定要关闭程序吗？");
  return text ? box : nullptr;
}

TEST(MainWindowE2E, StartsOnPageOneAndSwitchesPagesWithTheMouse) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  RECT r = e2e::RectOf(app.main());
  EXPECT_EQ(r.right - r.left, 781);
  EXPECT_EQ(r.bottom - r.top, 525);
  EXPECT_EQ(VisiblePage(app), 1);

  for (int k : {4, 2, 5, 3, 1}) {
    POINT p = At(app.main(), 20 + (k - 1) * 94 + 37, 60);
    e2e::Click(p.x, p.y);
    EXPECT_TRUE(e2e::WaitUntil([&] { return VisiblePage(app) == k; })) << "page " << k;
  }
}

TEST(MainWindowE2E, CloseAsksNoKeepsRunningYesEndsWithCodeZero) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  POINT close = At(app.main(), 781 - 13, 13);
  e2e::Click(close.x, close.y);
  HWND box = CloseQuestion(app);
  ASSERT_NE(box, nullptr);
  SendMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_EQ(app.WaitExit(300), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(IsWindowVisible(app.main()));
  EXPECT_EQ(VisiblePage(app), 1);

  e2e::Click(close.x, close.y);
  box = CloseQuestion(app);
  ASSERT_NE(box, nullptr);
  SendMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
  EXPECT_EQ(app.WaitExit(10000), 0u);
}

TEST(MainWindowE2E, HeaderDragsTheWindowAndMinimiseWorks) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  RECT before = e2e::RectOf(app.main());
  POINT from = At(app.main(), 560, 60);  // strip, right of the page buttons
  e2e::Drag(from.x, from.y, from.x + 60, from.y + 40);
  EXPECT_TRUE(e2e::WaitUntil([&] {
    RECT now = e2e::RectOf(app.main());
    return now.left == before.left + 60 && now.top == before.top + 40;
  }));
  EXPECT_EQ(VisiblePage(app), 1);  // a drag is not a page switch

  POINT minimise = At(app.main(), 781 - 40, 13);
  e2e::Click(minimise.x, minimise.y);
  EXPECT_TRUE(e2e::WaitUntil([&] { return IsIconic(app.main()) != FALSE; }));
}

TEST(MainWindowE2E, MenuPictureOpensTheMenuBelowTheCaption) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  POINT menu = At(app.main(), 781 - 65, 10);
  e2e::Click(menu.x, menu.y);
  HWND popup = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] {
    popup = FindWindowW(L"#32768", nullptr);
    return popup && IsWindowVisible(popup);
  }));
  RECT pr = e2e::RectOf(popup);
  POINT expected = At(app.main(), 781 - 83, 26);
  EXPECT_EQ(pr.left, expected.x);
  EXPECT_EQ(pr.top, expected.y);
  e2e::Key(VK_ESCAPE);
  EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(popup); }));
}

}  // namespace
