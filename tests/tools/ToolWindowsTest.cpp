// The toolkit and shopping pages and the tool windows, created in-process
// under Wine with the effects recorded: no real power request, browser,
// defragmenter or sound leaves the test.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/MainFrameDlg.h"
#include "controls/MirvenDialog.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "tools/AlarmDlg.h"
#include "tools/CarriedProgram.h"
#include "tools/PowOffDlg.h"
#include "tools/ShoppingDlg.h"
#include "tools/TilePages.h"
#include "tools/ToolkitDlg.h"
#include "tools/Tools.h"
#include "base/Text.h"

namespace {

void At(wintest::FakeEffects& fake, int day, int h, int m, int s) {
  fake.now.wDay = static_cast<WORD>(day);
  fake.now.wHour = static_cast<WORD>(h);
  fake.now.wMinute = static_cast<WORD>(m);
  fake.now.wSecond = static_cast<WORD>(s);
}

// Every visible top-level window of this thread with this title.
struct TitleSearch {
  std::wstring title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<TitleSearch*>(lp);
  wchar_t buf[256] = {};
  GetWindowTextW(h, buf, 256);
  if (IsWindowVisible(h) && c->title == buf) c->found.push_back(h);
  return TRUE;
}

std::vector<HWND> WindowsTitled(const std::string& title) {
  TitleSearch ctx{base::Wide(title), {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectTitled, reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

void CloseAll(const std::string& title) {
  for (HWND h : WindowsTitled(title)) DestroyWindow(h);
  wintest::Pump();
}

std::string Item(HWND dlg, int id) { return wintest::TextOf(GetDlgItem(dlg, id)); }
void SetItem(HWND dlg, int id, const char* text) {
  SetWindowTextW(GetDlgItem(dlg, id), base::Wide(text).c_str());
}
void Press(HWND dlg, int id) { SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class ToolWindows : public testing::Test {
 protected:
  void SetUp() override {
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 440, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
    ShowWindow(host_, SW_SHOW);
  }
  void TearDown() override {
    page_.reset();
    DestroyWindow(host_);
    wintest::Pump();
  }
  template <typename P>
  P& OpenPage() {
    auto p = std::make_unique<P>();
    EXPECT_TRUE(p->Create(host_));
    ShowWindow(p->hwnd(), SW_SHOW);
    wintest::Pump();
    P& ref = *p;
    page_ = std::move(p);
    return ref;
  }
  void ClickAt(int x, int y) {
    SendMessageW(page_->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(page_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    wintest::Pump();
  }
  static void Tick(HWND dlg, UINT_PTR timer) { SendMessageW(dlg, WM_TIMER, timer, 0); }

  wintest::ScopedEffects effects_;
  HWND host_ = nullptr;
  std::unique_ptr<ui::Dialog> page_;
};

TEST_F(ToolWindows, EachToolkitTileOpensAFurtherWindowWithItsTitle) {
  OpenPage<ToolkitDlg>();
  struct {
    int x, y;
    const char* title;
    int control;
  } tools[] = {{50, 60, "定时关机-Mirven电脑助手", IDC_POWOFF_START},
               {124, 60, "Mirven闹钟-Mirven电脑助手", IDC_ALARM_STOP},
               {198, 60, "磁盘碎片整理-Mirven电脑助手", IDC_DEFRAG_DRIVES},
               {50, 260, "个税计算器-Mirven电脑助手", IDC_TAX_TABLE},
               {124, 260, "邮件发送器-Mirven电脑助手", 0}};
  for (const auto& t : tools) {
    ClickAt(t.x, t.y);
    ClickAt(t.x, t.y);
    std::vector<HWND> opened = WindowsTitled(t.title);
    ASSERT_EQ(opened.size(), 2u) << t.title;
    for (HWND h : opened) {
      auto* dlg = dynamic_cast<controls::MirvenDialog*>(ui::Window::FromHandle(h));
      ASSERT_NE(dlg, nullptr);
      EXPECT_EQ(dlg->TitleText(), t.title);
      if (t.control) {
        EXPECT_NE(GetDlgItem(h, t.control), nullptr);
      }
      EXPECT_EQ(GetParent(h), nullptr);  // top-level, owned by nobody
    }
    CloseAll(t.title);
  }
  // The gaps open nothing.
  ClickAt(88, 60);
  ClickAt(161, 260);
  EXPECT_TRUE(effects_.fake.runs.empty());
  EXPECT_TRUE(effects_.fake.messages.empty());
}

TEST_F(ToolWindows, TilesLightUnderThePointerWithAHand) {
  ToolkitDlg& page = OpenPage<ToolkitDlg>();
  SendMessageW(page.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 30));
  EXPECT_EQ(page.HoveredCode(), tools::kToolShutdown);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  SendMessageW(page.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(94, 30));
  EXPECT_EQ(page.HoveredCode(), tools::kToolAlarm);
  SendMessageW(page.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(page.HoveredCode(), 0);
  // The click acts on the tile under the pointer, not on the last one lit.
  SendMessageW(page.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 60));
  SendMessageW(page.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(300, 150));
  wintest::Pump();
  EXPECT_TRUE(WindowsTitled("定时关机-Mirven电脑助手").empty());
}

TEST_F(ToolWindows, ShoppingTilesOpenTheirAddresses) {
  OpenPage<ShoppingDlg>();
  std::vector<std::string> expected;
  for (const tiles::Tile& t : tools::kShoppingTiles) {
    ClickAt(t.rect.left + 45, t.rect.top + 30);
    expected.push_back(tools::ShoppingAddress(t.code));
  }
  ClickAt(120, 70);  // gap
  EXPECT_EQ(effects_.fake.opened, expected);
}

TEST_F(ToolWindows, TimedShutdownAsksOnceAtTheSetMinuteAndAgainTheNextDay) {
  At(effects_.fake, 7, 0, 0, 0);
  tools::OpenShutdown();
  HWND dlg = wintest::FindTopLevel("定时关机-Mirven电脑助手");
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(Item(dlg, IDC_POWOFF_HOUR), "00");
  Tick(dlg, PowOffDlg::kTimer);  // midnight with no time set: no question
  EXPECT_TRUE(effects_.fake.messages.empty());

  SetItem(dlg, IDC_POWOFF_HOUR, "25");
  Press(dlg, IDC_POWOFF_START);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, "小时请输入0到23之间的整数。");
  effects_.fake.messages.clear();

  SetItem(dlg, IDC_POWOFF_HOUR, "23");
  SetItem(dlg, IDC_POWOFF_MINUTE, "30");
  Press(dlg, IDC_POWOFF_START);
  effects_.fake.answer = IDNO;
  for (int s : {58, 59}) {
    At(effects_.fake, 7, 23, 29, s);
    Tick(dlg, PowOffDlg::kTimer);
  }
  EXPECT_EQ(Item(dlg, IDC_POWOFF_NOW_MINUTE), "29");
  EXPECT_TRUE(effects_.fake.messages.empty());
  for (int s : {0, 1, 2, 59}) {
    At(effects_.fake, 7, 23, 30, s);
    Tick(dlg, PowOffDlg::kTimer);
  }
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, "您确定要关机吗？");
  EXPECT_EQ(effects_.fake.messages[0].caption, "定时关机提醒-Mirven电脑助手");
  EXPECT_TRUE(effects_.fake.power.empty());

  effects_.fake.answer = IDYES;
  At(effects_.fake, 8, 23, 30, 3);
  Tick(dlg, PowOffDlg::kTimer);
  EXPECT_EQ(effects_.fake.messages.size(), 2u);
  EXPECT_EQ(effects_.fake.power, std::vector<ui::PowerAction>{ui::PowerAction::PowerOff});
  CloseAll("定时关机-Mirven电脑助手");
}

TEST_F(ToolWindows, MenuCommandsActAtOnceAndARefusalIsTold) {
  CMainFrameDlg& frame = CMainFrameDlg::GetInstance();
  if (!frame.hwnd()) {
    ASSERT_TRUE(frame.Create(nullptr));
  }
  SendMessageW(frame.hwnd(), WM_COMMAND, ID_MENU_RESTART, 0);
  SendMessageW(frame.hwnd(), WM_COMMAND, ID_MENU_POWER_OFF, 0);
  EXPECT_EQ(effects_.fake.power,
            (std::vector<ui::PowerAction>{ui::PowerAction::Restart, ui::PowerAction::PowerOff}));
  EXPECT_TRUE(effects_.fake.messages.empty());  // no question first
  effects_.fake.refusePower = true;
  SendMessageW(frame.hwnd(), WM_COMMAND, ID_MENU_POWER_OFF, 0);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, "关机失败：系统拒绝了关机请求。");
  SendMessageW(frame.hwnd(), WM_COMMAND, ID_MENU_TIMED_SHUTDOWN, 0);
  EXPECT_NE(wintest::FindTopLevel("定时关机-Mirven电脑助手"), nullptr);
  CloseAll("定时关机-Mirven电脑助手");
}

TEST_F(ToolWindows, AlarmRingsTheChimeBesideTheProgramAndSurvivesClosing) {
  tools::OpenAlarm();
  HWND dlg = wintest::FindTopLevel("Mirven闹钟-Mirven电脑助手");
  ASSERT_NE(dlg, nullptr);
  SetItem(dlg, IDC_ALARM_HOUR, "24");
  Press(dlg, IDC_ALARM_SET);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);  // 24:00 is refused, not armed
  auto* alarm = dynamic_cast<AlarmDlg*>(ui::Window::FromHandle(dlg));
  ASSERT_NE(alarm, nullptr);
  EXPECT_FALSE(alarm->Armed());

  SetItem(dlg, IDC_ALARM_HOUR, "7");
  SetItem(dlg, IDC_ALARM_MINUTE, "30");
  SetItem(dlg, IDC_ALARM_SECOND, "45");
  Press(dlg, IDC_ALARM_SET);
  EXPECT_TRUE(alarm->Armed());
  SendMessageW(dlg, WM_CLOSE, 0, 0);  // only hidden while armed
  EXPECT_TRUE(IsWindow(dlg));
  EXPECT_FALSE(IsWindowVisible(dlg));
  At(effects_.fake, 7, 7, 29, 50);
  Tick(dlg, AlarmDlg::kTimer);
  Press(dlg, IDC_ALARM_STOP);  // stopping before the time does not disarm
  At(effects_.fake, 7, 7, 30, 0);
  Tick(dlg, AlarmDlg::kTimer);
  std::string sound = AlarmDlg::SoundPath();
  EXPECT_EQ(effects_.fake.sounds, (std::vector<std::string>{"", sound}));
  EXPECT_NE(sound.find("\\music\\alarm.wav"), std::string::npos);
  EXPECT_NE(GetFileAttributesW(base::Wide(sound).c_str()), INVALID_FILE_ATTRIBUTES) << sound;
  EXPECT_TRUE(IsWindowVisible(dlg));  // back, so that 停止 is at hand
  EXPECT_FALSE(alarm->Armed());
  SendMessageW(dlg, WM_CLOSE, 0, 0);  // not armed: destroyed
  wintest::Pump();
  EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(ToolWindows, DefragListsEveryDriveAndStartsTheDefragmenterAsAdministrator) {
  tools::OpenDefrag();
  HWND dlg = wintest::FindTopLevel("磁盘碎片整理-Mirven电脑助手");
  ASSERT_NE(dlg, nullptr);
  HWND box = GetDlgItem(dlg, IDC_DEFRAG_DRIVES);
  DWORD drives = GetLogicalDrives();
  int count = 0;
  for (DWORD d = drives; d; d &= d - 1) ++count;
  EXPECT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), count);
  SendMessageW(box, CB_SETCURSEL, 0, 0);
  std::string first = wintest::TextOf(box);
  Press(dlg, IDC_DEFRAG_START);
  ASSERT_EQ(effects_.fake.runs.size(), 1u);
  EXPECT_EQ(effects_.fake.runs[0].verb, "runas");
  EXPECT_EQ(effects_.fake.runs[0].params, first.substr(0, 2));
  EXPECT_NE(effects_.fake.runs[0].file.find("\\defrag.exe"), std::string::npos);
  effects_.fake.runError = ERROR_CANCELLED;
  Press(dlg, IDC_DEFRAG_START);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, "磁盘碎片整理需要管理员权限，已取消。");
  CloseAll("磁盘碎片整理-Mirven电脑助手");
}

TEST_F(ToolWindows, TaxWindowShowsTheTableAndComputes) {
  tools::OpenTax();
  HWND dlg = wintest::FindTopLevel("个税计算器-Mirven电脑助手");
  ASSERT_NE(dlg, nullptr);
  HWND list = GetDlgItem(dlg, IDC_TAX_TABLE);
  EXPECT_EQ(ListView_GetItemCount(list), 7);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 5);
  EXPECT_EQ(Item(dlg, IDC_TAX_AMOUNT), "0");
  SetItem(dlg, IDC_TAX_GROSS, "83501");
  Press(dlg, IDC_TAX_COMPUTE);
  EXPECT_EQ(Item(dlg, IDC_TAX_AMOUNT), "22495.45");
  EXPECT_EQ(Item(dlg, IDC_TAX_NET), "61005.55");
  SetItem(dlg, IDC_TAX_GROSS, "abc");
  Press(dlg, IDC_TAX_COMPUTE);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(Item(dlg, IDC_TAX_GROSS), "83501");  // the wage held from before
  CloseAll("个税计算器-Mirven电脑助手");
}

std::string ResourceBytes(int id) {
  HRSRC r = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"EXE");
  if (!r) return {};
  return std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, r))),
                     SizeofResource(nullptr, r));
}

std::string FileBytes(const std::string& path) {
  std::string bytes;
  HANDLE f = CreateFileW(base::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "(missing)";
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n) bytes.append(buf, n);
  CloseHandle(f);
  return bytes;
}

TEST_F(ToolWindows, CarriedProgramsAreWrittenToTheUserFolderAndStarted) {
  OpenPage<ToolkitDlg>();
  std::string folder = tools::CarriedProgramFolder();
  ASSERT_FALSE(folder.empty());
  struct {
    int x, y, id;
    const char* name;
  } programs[] = {{198, 260, IDR_CALCULATOR_EXE, "calculator.exe"},
                  {272, 260, IDR_CLOCK_EXE, "Clock.exe"}};
  for (const auto& p : programs) {
    std::string path = folder + "\\" + p.name;
    std::string bytes = ResourceBytes(p.id);
    ASSERT_FALSE(bytes.empty());
    DeleteFileW(base::Wide(path).c_str());
    ClickAt(p.x, p.y);
    EXPECT_EQ(FileBytes(path), bytes);
    ASSERT_FALSE(effects_.fake.runs.empty());
    EXPECT_EQ(effects_.fake.runs.back().verb, "open");
    EXPECT_EQ(effects_.fake.runs.back().file, path);
    // A different file there is replaced; the same one is left alone.
    HANDLE f =
        CreateFileW(base::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, "old", 3, &n, nullptr);
    CloseHandle(f);
    ClickAt(p.x, p.y);
    EXPECT_EQ(FileBytes(path), bytes);
    HANDLE held = CreateFileW(base::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);  // as a running copy holds it
    ClickAt(p.x, p.y);
    CloseHandle(held);
    EXPECT_EQ(effects_.fake.runs.size(), static_cast<size_t>(3 * (&p - programs + 1)));
  }
  EXPECT_TRUE(effects_.fake.messages.empty());
  effects_.fake.runError = ERROR_FILE_NOT_FOUND;
  ClickAt(198, 260);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text.rfind("无法启动程序：", 0), 0u);
}

}  // namespace
