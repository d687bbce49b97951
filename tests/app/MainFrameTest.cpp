// The main window, created in-process and driven with real messages.
#include <gtest/gtest.h>

#include "app/MainFrameDlg.h"
#include "controls/Page.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "ui/Gdi.h"

namespace {

class MainFrame : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    CMainFrameDlg& dlg = CMainFrameDlg::GetInstance();
    if (!dlg.hwnd()) {
      ASSERT_TRUE(dlg.Create(nullptr));
      ShowWindow(dlg.hwnd(), SW_SHOW);
      wintest::Pump();
    }
  }
  void SetUp() override {
    ShowWindow(main(), SW_RESTORE);
    Leave();
    frame().SelectPage(1);
  }

  static CMainFrameDlg& frame() { return CMainFrameDlg::GetInstance(); }
  static HWND main() { return frame().hwnd(); }
  static LPARAM ScreenAt(int x, int y) {
    RECT r = ui::WindowRect(main());
    return MAKELPARAM(r.left + x, r.top + y);
  }
  static void MoveTo(int x, int y) {
    SendMessageW(main(), WM_NCMOUSEMOVE, HTCAPTION, ScreenAt(x, y));
  }
  static void Leave() { SendMessageW(main(), WM_NCMOUSELEAVE, 0, 0); }
  static std::vector<int> VisiblePages() {
    std::vector<int> v;
    for (int k = 1; k <= 5; ++k)
      if (IsWindowVisible(frame().PageWindow(k)->hwnd())) v.push_back(k);
    return v;
  }
};

TEST_F(MainFrame, StartsOnTheCleanupPageAt781By525) {
  EXPECT_EQ(&CMainFrameDlg::GetInstance(), &frame());
  EXPECT_EQ(wintest::TextOf(main()), "Mirven电脑助手");
  SIZE s = ui::WindowSize(main());
  EXPECT_EQ(s.cx, 781);
  EXPECT_EQ(s.cy, 525);
  EXPECT_EQ(frame().CurrentPage(), 1);
  EXPECT_EQ(VisiblePages(), std::vector<int>{1});
  const char* names[] = {"系统清理", "工具助手", "网购导航", "电脑体检", "优化加速"};
  for (int k = 1; k <= 5; ++k) {
    HWND page = frame().PageWindow(k)->hwnd();
    ASSERT_TRUE(IsWindow(page));
    EXPECT_EQ(GetParent(page), main());
    EXPECT_EQ(wintest::TextOf(page), names[k - 1]);
    RECT r = ui::WindowRect(page);
    POINT tl{r.left, r.top};
    ScreenToClient(main(), &tl);
    EXPECT_EQ(tl.x, 0);
    EXPECT_EQ(tl.y, 100);
    EXPECT_EQ(r.right - r.left, 781);
    EXPECT_EQ(r.bottom - r.top, 400);
  }
  // The link label sits on the bottom line; the promotion label is hidden.
  RECT link = ui::WindowRect(GetDlgItem(main(), IDC_LINK_SITE));
  POINT p{link.left, link.top};
  ScreenToClient(main(), &p);
  EXPECT_EQ(p.x, 500);
  EXPECT_EQ(p.y, 503);
  EXPECT_EQ(wintest::TextOf(GetDlgItem(main(), IDC_LINK_SITE)), "Velmora网");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main(), IDC_LINK_PROMOTION)));
}

TEST_F(MainFrame, HeaderIsCaptionForTheWindowManager) {
  RECT r = ui::WindowRect(main());
  EXPECT_EQ(SendMessageW(main(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.top + 5)), HTCAPTION);
  EXPECT_EQ(SendMessageW(main(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 300, r.top + 99)), HTCAPTION);
  EXPECT_NE(SendMessageW(main(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 300, r.top + 100)),
            HTCAPTION);
}

TEST_F(MainFrame, HoverLightsOneCaptionButtonAtATime) {
  const int w = 781;
  MoveTo(w - 26, 0);
  EXPECT_TRUE(frame().CloseHot());
  EXPECT_FALSE(frame().MinimizeHot());
  MoveTo(w - 27, 25);
  EXPECT_TRUE(frame().MinimizeHot());
  EXPECT_FALSE(frame().CloseHot());
  MoveTo(w - 53, 5);
  EXPECT_TRUE(frame().MenuHot());
  EXPECT_FALSE(frame().MinimizeHot());
  MoveTo(w - 53, 26);  // bottom edge is out
  EXPECT_FALSE(frame().MenuHot() || frame().MinimizeHot() || frame().CloseHot());
}

TEST_F(MainFrame, HoverTracksPageButtonsAndLeavingClearsThem) {
  MoveTo(302, 26);  // top-left corner of button 4 is in
  EXPECT_EQ(frame().HotPageButton(), 4);
  MoveTo(376, 60);  // right edge of button 4 is out: the gap
  EXPECT_EQ(frame().HotPageButton(), 0);
  MoveTo(375, 99);
  EXPECT_EQ(frame().HotPageButton(), 4);
  Leave();
  EXPECT_EQ(frame().HotPageButton(), 0);
  EXPECT_EQ(frame().CurrentPage(), 1);
}

TEST_F(MainFrame, PressOnAPageButtonSwitchesAtThePress) {
  for (int k : {3, 5, 2, 4, 1}) {
    int x = 20 + (k - 1) * 94 + 10;
    MoveTo(x, 40);
    SendMessageW(main(), WM_NCLBUTTONDOWN, HTCAPTION, ScreenAt(x, 40));
    EXPECT_EQ(frame().CurrentPage(), k);
    EXPECT_EQ(VisiblePages(), std::vector<int>{k});
  }
  // A press in the gap, with no button hot, changes nothing here.
  MoveTo(100, 40);
  frame().SelectPage(2);
  EXPECT_EQ(frame().CurrentPage(), 2);
  frame().SelectPage(0);  // outside 1..5: ignored
  EXPECT_EQ(frame().CurrentPage(), 2);
}

TEST_F(MainFrame, CloseAsksAndNoChangesNothing) {
  wintest::ScopedEffects fx;
  fx.fake.answer = IDNO;
  SendMessageW(main(), WM_CLOSE, 0, 0);
  SendMessageW(main(), WM_COMMAND, ID_HEADER_CLOSE, 0);
  MoveTo(781 - 10, 10);
  SendMessageW(main(), WM_NCLBUTTONUP, HTCAPTION, ScreenAt(781 - 10, 10));
  SendMessageW(main(), WM_COMMAND, IDCANCEL, 0);  // Esc
  ASSERT_EQ(fx.fake.messages.size(), 4u);
  for (const auto& m : fx.fake.messages) {
    EXPECT_EQ(m.text, "您确定要关闭程序吗？");
    EXPECT_EQ(m.caption, "Mirven电脑助手");
    EXPECT_EQ(m.style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  }
  EXPECT_TRUE(fx.fake.exits.empty());
  EXPECT_TRUE(IsWindowVisible(main()));
  EXPECT_EQ(frame().CurrentPage(), 1);

  fx.fake.answer = IDYES;
  SendMessageW(main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(fx.fake.exits, std::vector<int>{0});
}

TEST_F(MainFrame, MinimisesFromPictureAndMenuCommand) {
  MoveTo(781 - 40, 10);
  ASSERT_TRUE(frame().MinimizeHot());
  SendMessageW(main(), WM_NCLBUTTONUP, HTCAPTION, ScreenAt(781 - 40, 10));
  EXPECT_TRUE(IsIconic(main()));
  EXPECT_FALSE(frame().MinimizeHot());
  ShowWindow(main(), SW_RESTORE);
  SendMessageW(main(), WM_COMMAND, ID_HEADER_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(main()));
  ShowWindow(main(), SW_RESTORE);
  // "最大化" has no handler and does nothing.
  SendMessageW(main(), WM_COMMAND, ID_HEADER_MAXIMIZE, 0);
  EXPECT_FALSE(IsZoomed(main()));
  EXPECT_EQ(ui::WindowSize(main()).cx, 781);
}

// Closes the next About box, menu or dialog that opens on this thread and
// remembers where it was.
struct Closer {
  static inline RECT seen{};
  static inline std::string title;
  static inline int count = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
      GetWindowRect(menu, &seen);
      ++count;
      KillTimer(nullptr, id);
      EndMenu();
      return;
    }
    HWND about = GetForegroundWindow();
    HWND active = GetActiveWindow();
    for (HWND h : {active, about}) {
      if (h && h != CMainFrameDlg::GetInstance().hwnd() && IsWindowVisible(h)) {
        title = wintest::TextOf(h);
        GetWindowRect(h, &seen);
        ++count;
        KillTimer(nullptr, id);
        SendMessageW(h, WM_COMMAND, IDOK, 0);
        return;
      }
    }
  }
  static void Arm() {
    count = 0;
    title.clear();
    SetTimer(nullptr, 0, 50, Tick);
  }
};

TEST_F(MainFrame, AboutOpensFromBothMenusAndTheSystemMenu) {
  for (auto send : {+[](HWND h) { SendMessageW(h, WM_COMMAND, ID_MENU_ABOUT, 0); },
                    +[](HWND h) { SendMessageW(h, WM_COMMAND, ID_HEADER_ABOUT, 0); },
                    +[](HWND h) { SendMessageW(h, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }}) {
    Closer::Arm();
    send(main());  // returns when the modal About box has been closed
    EXPECT_EQ(Closer::count, 1);
    EXPECT_EQ(Closer::title, "Mirven电脑助手");
    EXPECT_TRUE(IsWindowEnabled(main()));
  }
  // The About item is on the system menu, after a separator.
  HMENU sys = GetSystemMenu(main(), FALSE);
  ASSERT_TRUE(sys);
  wchar_t text[128] = {};
  GetMenuStringW(sys, IDM_ABOUTBOX, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"关于 Mirven电脑助手(&A)...");
}

TEST_F(MainFrame, MenuPictureOpensMenuBelowTheCaption) {
  RECT wr = ui::WindowRect(main());
  SetCursorPos(wr.left + 781 - 60, wr.top + 5);
  MoveTo(781 - 60, 5);
  ASSERT_TRUE(frame().MenuHot());
  Closer::Arm();
  SendMessageW(main(), WM_NCLBUTTONUP, HTCAPTION, ScreenAt(781 - 60, 5));
  EXPECT_EQ(Closer::count, 1);
  EXPECT_EQ(Closer::seen.left, wr.left + 781 - 83);
  EXPECT_EQ(Closer::seen.top, wr.top + 26);
  EXPECT_FALSE(frame().MenuHot());
}

TEST_F(MainFrame, RightClickOpensTheHeaderMenuAtTheCursor) {
  RECT wr = ui::WindowRect(main());
  Closer::Arm();
  SendMessageW(main(), WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(wr.left + 200, wr.top + 10));
  EXPECT_EQ(Closer::count, 1);
  EXPECT_EQ(Closer::seen.left, wr.left + 200);
  EXPECT_EQ(Closer::seen.top, wr.top + 10);
}

TEST_F(MainFrame, RepeatedPaintingLeaksNoGdiObjects) {
  for (int i = 0; i < 20; ++i) frame().DrawHeader();
  DWORD before = wintest::GdiObjects();
  for (int i = 0; i < 300; ++i) {
    frame().DrawHeader();
    MoveTo(302 + (i % 2) * 100, 40);
    RedrawWindow(main(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  }
  EXPECT_LE(wintest::GdiObjects(), before + 2);
}

}  // namespace
