// The main window's online half against a real HTTP server on 127.0.0.1,
// with the clock and the shell taken over by the test.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainFrameDlg.h"
#include "net/Peers.h"
#include "net/UpdateCheck.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "ui/Gdi.h"

namespace {

struct TitleSearch {
  std::string title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTitle(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TitleSearch*>(lp);
  if (IsWindowVisible(h) && wintest::TextOf(h) == s->title) s->found.push_back(h);
  return TRUE;
}

// Every visible top-level window of this thread with this title.
std::vector<HWND> AllTopLevel(const std::string& title) {
  TitleSearch s{title, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectTitle, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

class Online : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    files_ = new nettest::TempDir;
    files_->Write("windows/ads_time.txt", "20141201-20141231\r\n");
    server_ = nettest::Start("http " + nettest::Encode(files_->PeerPath()));
    ASSERT_NE(0, server_.port) << nettest::Problem();
    base_ = "http://127.0.0.1:" + std::to_string(server_.port);
    _putenv_s("MIRVEN_SERVER", base_.c_str());
    CMainFrameDlg& dlg = CMainFrameDlg::GetInstance();
    if (!dlg.hwnd()) {
      ASSERT_TRUE(dlg.Create(nullptr));
      ShowWindow(dlg.hwnd(), SW_SHOW);
    }
    wintest::PumpUntil([] { return frame().Online().NoticeDates().fetched; });
  }
  static void TearDownTestSuite() {
    nettest::Stop(server_);
    delete files_;
  }
  void SetUp() override { MainFrameOnline::SetUpdateDelay(0); }
  void TearDown() override {
    for (const char* title : {"软件更新-Mirven电脑助手", "新版特性-Mirven电脑助手"})
      for (HWND h : AllTopLevel(title)) DestroyWindow(h);
  }

  static CMainFrameDlg& frame() { return CMainFrameDlg::GetInstance(); }
  static HWND main() { return frame().hwnd(); }
  // Runs the start-up requests again, as at a start on `day`.
  void StartOn(WORD year, WORD month, WORD day) {
    fx_.fake.now.wYear = year;
    fx_.fake.now.wMonth = month;
    fx_.fake.now.wDay = day;
    frame().Online().Start(main());
    ASSERT_TRUE(wintest::PumpUntil([] { return frame().Online().NoticeDates().fetched; }));
  }
  static LPARAM CentreOf(int id) {
    RECT r = ui::WindowRect(GetDlgItem(main(), id));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(main(), &p);
    return MAKELPARAM(p.x, p.y);
  }
  // Moves the pointer over the label and clicks it; true when the hand showed.
  static bool PointAndClick(int id) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(main(), WM_MOUSEMOVE, 0, CentreOf(id));
    bool hand = GetCursor() == LoadCursorW(nullptr, IDC_HAND);
    SendMessageW(main(), WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(id));
    SendMessageW(main(), WM_LBUTTONUP, 0, CentreOf(id));
    return hand;
  }
  bool WaitForMessage() {
    return wintest::PumpUntil([this] { return !fx_.fake.messages.empty(); }, 20000);
  }

  static nettest::TempDir* files_;
  static nettest::Peer server_;
  static std::string base_;
  wintest::ScopedEffects fx_;
};

nettest::TempDir* Online::files_ = nullptr;
nettest::Peer Online::server_;
std::string Online::base_;

TEST_F(Online, PromotionLabelFollowsTheNoticeDates) {
  HWND promotion = GetDlgItem(main(), IDC_LINK_PROMOTION);
  // The labels let the mouse through to the main window.
  EXPECT_EQ(HTTRANSPARENT, SendMessageW(GetDlgItem(main(), IDC_LINK_SITE), WM_NCHITTEST, 0, 0));

  StartOn(2014, 12, 15);
  EXPECT_TRUE(IsWindowVisible(promotion));
  EXPECT_TRUE(PointAndClick(IDC_LINK_PROMOTION));
  StartOn(2014, 12, 31);  // the last day still shows it
  EXPECT_TRUE(frame().Online().PromotionVisible());
  EXPECT_EQ(std::vector<std::string>{"http://www.velmora-tongji.com/?formType=7531"},
            fx_.fake.opened);

  fx_.fake.opened.clear();
  StartOn(2015, 1, 1);
  EXPECT_FALSE(IsWindowVisible(promotion));
  EXPECT_FALSE(PointAndClick(IDC_LINK_PROMOTION));  // neither the hand nor a click
  EXPECT_TRUE(fx_.fake.opened.empty());
  // The site label always answers, and keeps the hand between moves.
  EXPECT_TRUE(PointAndClick(IDC_LINK_SITE));
  EXPECT_EQ(std::vector<std::string>{base_ + "/"}, fx_.fake.opened);
  RECT site = ui::WindowRect(GetDlgItem(main(), IDC_LINK_SITE));
  SetCursorPos((site.left + site.right) / 2, (site.top + site.bottom) / 2);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(TRUE, SendMessageW(main(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(Online, StartUpCheckOpensTheUpdateWindow) {
  files_->Write("windows/version.txt", "3.1\r\n");
  MainFrameOnline::SetUpdateDelay(50);
  StartOn(2015, 1, 1);
  ASSERT_TRUE(
      wintest::PumpUntil([] { return wintest::FindTopLevel("软件更新-Mirven电脑助手"); }, 20000));
  HWND update = wintest::FindTopLevel("软件更新-Mirven电脑助手");
  EXPECT_EQ(frame().Online().CurrentVersion(), "3.0");
  EXPECT_EQ(frame().Online().NewVersion(), "3.1");
  EXPECT_EQ(wintest::TextOf(GetDlgItem(update, IDC_UPDATE_TEXT)), "有新版本 V3.1 啦");
  SendMessageW(update, WM_COMMAND, IDC_UPDATE_DOWNLOAD, 0);
  EXPECT_EQ(std::vector<std::string>{base_ + "/windows/index.aspx"}, fx_.fake.opened);
  EXPECT_TRUE(IsWindowVisible(update));  // the window stays
  EXPECT_TRUE(fx_.fake.messages.empty());

  // Each check opens a window of its own.
  SendMessageW(main(), WM_COMMAND, ID_MENU_CHECK_UPDATE, 0);
  EXPECT_TRUE(
      wintest::PumpUntil([] { return AllTopLevel("软件更新-Mirven电脑助手").size() == 2; }, 20000));
}

TEST_F(Online, MenuCheckSaysUpToDateOrFails) {
  files_->Write("windows/version.txt", "3.0\n");
  SendMessageW(main(), WM_COMMAND, ID_MENU_CHECK_UPDATE, 0);
  ASSERT_TRUE(WaitForMessage());
  EXPECT_EQ(fx_.fake.messages[0].text, "当前已是最新版本");
  EXPECT_EQ(fx_.fake.messages[0].caption, "Mirven电脑助手");

  // A 404 page is no version: the check fails instead of offering it.
  fx_.fake.messages.clear();
  std::filesystem::remove(std::filesystem::u8path(files_->path()) / "windows" / "version.txt");
  frame().CheckUpdate(true);
  ASSERT_TRUE(WaitForMessage());
  EXPECT_EQ(fx_.fake.messages[0].text, "网络连接异常或者未连接");
  EXPECT_TRUE(AllTopLevel("软件更新-Mirven电脑助手").empty());
}

TEST_F(Online, NotesWindowShowsTheNotes) {
  SendMessageW(main(), WM_COMMAND, ID_MENU_NEW_FEATURES, 0);
  HWND notes = wintest::FindTopLevel("新版特性-Mirven电脑助手");
  ASSERT_NE(notes, nullptr);
  std::string text = wintest::TextOf(GetDlgItem(notes, IDC_NOTES_TEXT));
  EXPECT_EQ(text, update::NotesText());
  EXPECT_EQ(0u, text.find("Mirven电脑助手V3.0新版介绍：\r\n\r\n1.Mirven电脑助手 3.0版本全新发布"));
  SendMessageW(main(), WM_COMMAND, ID_MENU_NEW_FEATURES, 0);
  EXPECT_EQ(2u, AllTopLevel("新版特性-Mirven电脑助手").size());
}

}  // namespace
