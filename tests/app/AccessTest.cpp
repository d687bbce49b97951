// What the keyboard and a screen reader reach: a walk through oleacc over
// every page and tool window, and real key events. Wine's oleacc calls
// every role "client" and shows no list items, so roles and items are not
// checked here.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/CheckUpdateDlg.h"
#include "app/MainFrameDlg.h"
#include "app/NewVersionDlg.h"
#include "controls/MirvenDialog.h"
#include "controls/Page.h"
#include "net/EmailDlg.h"
#include "res/ids_checkup.h"
#include "res/ids_cleanup.h"
#include "res/ids_memory.h"
#include "res/ids_tools.h"
#include "support/WinTest.h"
#include "tools/AlarmDlg.h"
#include "tools/DefragmentDlg.h"
#include "tools/PowOffDlg.h"
#include "tools/TaxDlg.h"
#include "tools/TilePages.h"
#include "ui/Gdi.h"
#include "base/Handles.h"
#include "base/Text.h"

namespace {

std::string ClassOf(HWND h) {
  wchar_t c[64] = {};
  GetClassNameW(h, c, 64);
  return base::Utf8(c);
}

// Controls a user works with (and the check-up's picture), as opposed to labels.
bool TakesInput(HWND h) {
  const std::string cls = ClassOf(h);
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  if (cls == "Button") return (style & BS_TYPEMASK) != BS_GROUPBOX;
  if (cls == "Static") return GetDlgCtrlID(h) == IDC_CHECKUP_ICON;
  // A combo box's own edit is part of it: the combo box is named.
  if (cls == "Edit" && ClassOf(GetParent(h)) == "ComboBox") return false;
  for (const char* c : {"Edit", "ComboBox", "ListBox", "SysListView32", "SysHeader32",
                        "SysTabControl32", "SysTreeView32", "RichEdit20W", "msctls_progress32"})
    if (cls == c) return true;
  return false;
}

std::string NameOf(IAccessible* acc, LONG child) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = child;
  BSTR name = nullptr;
  if (acc->get_accName(v, &name) != S_OK || !name) return "";
  std::string s = base::Utf8(std::wstring(name, SysStringLen(name)));
  SysFreeString(name);
  return s;
}

std::string ObjectName(HWND h, LONG objectId, LONG child = CHILDID_SELF) {
  base::Com<IAccessible> acc;
  if (FAILED(AccessibleObjectFromWindow(h, static_cast<DWORD>(objectId), IID_IAccessible,
                                        reinterpret_cast<void**>(acc.Out()))))
    return "";
  return NameOf(acc.get(), child);
}

struct Walk {
  std::vector<std::string> names;    // of every object met
  std::vector<std::string> unnamed;  // visible input controls without a name
};

// The children of `window`'s client object, as oleacc lists them, and on
// into each child window.
void WalkWindow(HWND window, Walk& walk) {
  base::Com<IAccessible> client;
  ASSERT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                       reinterpret_cast<void**>(client.Out())),
            S_OK);
  long count = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> kids(static_cast<size_t>(count));
  long got = 0;
  if (count > 0) AccessibleChildren(client.get(), 0, count, kids.data(), &got);
  for (long k = 0; k < got; ++k) {
    VARIANT& v = kids[static_cast<size_t>(k)];
    if (v.vt == VT_I4) {
      walk.names.push_back(NameOf(client.get(), v.lVal));
    } else if (v.vt == VT_DISPATCH && v.pdispVal) {
      base::Com<IAccessible> child;
      v.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(child.Out()));
      HWND h = nullptr;
      if (child.get()) WindowFromAccessibleObject(child.get(), &h);
      if (h && h != window && IsWindowVisible(h)) {
        std::string name = ObjectName(h, OBJID_CLIENT);
        walk.names.push_back(name);
        if (TakesInput(h) && name.empty())
          walk.unnamed.push_back(ClassOf(h) + " " + std::to_string(GetDlgCtrlID(h)));
        if (GetWindow(h, GW_CHILD)) WalkWindow(h, walk);
      }
    }
    VariantClear(&v);
  }
}

int Missing(const Walk& walk, const std::vector<std::string>& targets) {
  int missing = 0;
  for (const std::string& t : targets) {
    bool found = false;
    for (const std::string& n : walk.names) found = found || n == t;
    if (!found) {
      ++missing;
      ADD_FAILURE() << "no accessible object named " << t;
    }
  }
  return missing;
}

void Report(const char* what, const Walk& walk, int missing) {
  std::printf("%s: %zu input controls without a name, %d click targets without an object\n", what,
              walk.unnamed.size(), missing);
  for (const std::string& u : walk.unnamed) ADD_FAILURE() << what << ": " << u << " has no name";
}

class Access : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    CMainFrameDlg& dlg = CMainFrameDlg::GetInstance();
    if (!dlg.hwnd()) {
      ASSERT_TRUE(dlg.Create(nullptr));
      ShowWindow(dlg.hwnd(), SW_SHOW);
      wintest::Pump();
    }
  }
  static HWND main() { return CMainFrameDlg::GetInstance().hwnd(); }
  wintest::ScopedEffects effects_;
};

template <typename T, typename... Args>
void CheckToolWindow(const char* title, Args&&... args) {
  T* dlg = controls::MirvenDialog::Open<T>(title, std::forward<Args>(args)...);
  ASSERT_NE(dlg, nullptr);
  wintest::Pump();
  Walk walk;
  WalkWindow(dlg->hwnd(), walk);
  for (LONG k : {1, 2}) walk.names.push_back(ObjectName(dlg->hwnd(), OBJID_TITLEBAR, k));
  Report(title, walk, Missing(walk, {"最小化", "关闭"}));
  DestroyWindow(dlg->hwnd());
  wintest::Pump();
}

TEST_F(Access, EveryInputControlAndPaintedTargetHasANamedObject) {
  const std::vector<std::string> header = {"菜单",     "最小化",   "关闭",     "系统清理",
                                           "工具助手", "网购导航", "电脑体检", "优化加速"};
  for (int page = 1; page <= 5; ++page) {
    CMainFrameDlg::GetInstance().SelectPage(page);
    wintest::Pump();
    std::vector<std::string> targets = header;
    if (page == 2)
      for (const auto& t : tools::kToolkitTiles) targets.push_back(t.name);
    if (page == 3)
      for (const auto& t : tools::kShoppingTiles) targets.push_back(t.name);
    Walk walk;
    WalkWindow(main(), walk);
    const std::string what = "page " + std::to_string(page);
    Report(what.c_str(), walk, Missing(walk, targets));
  }
  CMainFrameDlg::GetInstance().SelectPage(1);

  CheckToolWindow<PowOffDlg>("定时关机");
  CheckToolWindow<TaxDlg>("个税计算器");
  CheckToolWindow<AlarmDlg>("Mirven闹钟");
  CheckToolWindow<DefragmentDlg>("磁盘碎片整理");
  CheckToolWindow<EmailDlg>("邮件发送器");
  CheckToolWindow<CheckUpdateDlg>("软件更新", std::string("3.1"));
  CheckToolWindow<NewVersionDlg>("新版特性");
  CheckToolWindow<controls::MirvenDialog>("对话框");
}

TEST_F(Access, FieldsTakeTheNameOfWhatTheyHoldAndTheGaugeIsNoTabStop) {
  AlarmDlg* alarm = controls::MirvenDialog::Open<AlarmDlg>("Mirven闹钟");
  ASSERT_NE(alarm, nullptr);
  EXPECT_EQ(ObjectName(GetDlgItem(alarm->hwnd(), IDC_ALARM_MINUTE), OBJID_CLIENT), "闹钟时间 分");
  EXPECT_EQ(ObjectName(GetDlgItem(alarm->hwnd(), IDC_ALARM_SECOND), OBJID_CLIENT), "闹钟时间 秒");
  DestroyWindow(alarm->hwnd());
  PowOffDlg* off = controls::MirvenDialog::Open<PowOffDlg>("定时关机");
  ASSERT_NE(off, nullptr);
  EXPECT_EQ(ObjectName(GetDlgItem(off->hwnd(), IDC_POWOFF_MINUTE), OBJID_CLIENT), "关机时间 分");
  DestroyWindow(off->hwnd());

  HWND gauge = GetDlgItem(CMainFrameDlg::GetInstance().PageWindow(5)->hwnd(), IDC_MEMORY_USAGE);
  EXPECT_FALSE(GetWindowLongW(gauge, GWL_STYLE) & WS_TABSTOP);
  const std::string name = ObjectName(gauge, OBJID_CLIENT);
  EXPECT_EQ(name, "内存占用 " + wintest::TextOf(gauge));
}

}  // namespace

namespace {

// Real key events: through the system's input queue, as a keyboard gives them.
void Keys(std::initializer_list<WORD> down, WORD key) {
  std::vector<INPUT> in;
  auto add = [&](WORD vk, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  for (WORD m : down) add(m, false);
  add(key, false);
  add(key, true);
  for (auto it = down.end(); it != down.begin();) add(*--it, true);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// The program's own loop: key messages go through the dialogs first.
bool PumpKeysUntil(const std::function<bool()>& done) {
  const DWORD until = GetTickCount() + 5000;
  while (!done()) {
    if (GetTickCount() > until) return false;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
      if (!ui::Dialog::PreTranslate(m)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
    Sleep(5);
  }
  return true;
}

std::string FocusName() { return ObjectName(GetFocus(), OBJID_CLIENT); }

}  // namespace

TEST_F(Access, KeysSwitchPagesAndTabReachesATileThatEnterOpens) {
  CMainFrameDlg& frame = CMainFrameDlg::GetInstance();
  frame.SelectPage(1);
  SetForegroundWindow(main());
  SetFocus(frame.HeaderTargets().Window(static_cast<size_t>(frame.HeaderTargets().IndexOf(1))));
  ASSERT_TRUE(PumpKeysUntil([] { return GetForegroundWindow() == main(); }));

  Keys({VK_CONTROL}, '4');
  EXPECT_TRUE(PumpKeysUntil([&] { return frame.CurrentPage() == 4; }));
  Keys({VK_CONTROL}, VK_TAB);
  EXPECT_TRUE(PumpKeysUntil([&] { return frame.CurrentPage() == 5; }));
  Keys({VK_CONTROL}, VK_TAB);
  EXPECT_TRUE(PumpKeysUntil([&] { return frame.CurrentPage() == 1; }));
  Keys({VK_CONTROL, VK_SHIFT}, VK_TAB);
  EXPECT_TRUE(PumpKeysUntil([&] { return frame.CurrentPage() == 5; }));
  Keys({VK_CONTROL}, '2');
  ASSERT_TRUE(PumpKeysUntil([&] { return frame.CurrentPage() == 2; }));
  // The focus goes on in the page shown: its first tile.
  EXPECT_EQ(FocusName(), "定时关机");

  // Back to the page buttons, and on through them into the page again.
  for (int k = 0; k < 6 && FocusName() != "工具助手"; ++k) {
    HWND before = GetFocus();
    Keys({VK_SHIFT}, VK_TAB);
    PumpKeysUntil([&] { return GetFocus() != before; });
  }
  ASSERT_EQ(FocusName(), "工具助手");
  for (int k = 0; k < 6 && FocusName() != "定时关机"; ++k) {
    HWND before = GetFocus();
    Keys({}, VK_TAB);
    PumpKeysUntil([&] { return GetFocus() != before; });
  }
  ASSERT_EQ(FocusName(), "定时关机");
  Keys({}, VK_RIGHT);
  EXPECT_TRUE(PumpKeysUntil([] { return FocusName() == "Mirven闹钟"; }));
  Keys({}, VK_LEFT);
  EXPECT_TRUE(PumpKeysUntil([] { return FocusName() == "定时关机"; }));

  Keys({}, VK_RETURN);
  HWND tool = nullptr;
  EXPECT_TRUE(PumpKeysUntil([&] { return (tool = wintest::FindTopLevel("定时关机-Mirven电脑助手")); }));
  // Escape closes the tool window again.
  if (tool) {
    SetForegroundWindow(tool);
    PumpKeysUntil([&] { return GetForegroundWindow() == tool; });
    Keys({}, VK_ESCAPE);
    EXPECT_TRUE(PumpKeysUntil([&] { return !IsWindow(tool) || !IsWindowVisible(tool); }));
  }
}

// Focus, press and disabled on the skinned buttons and painted targets, for
// people to look at (scripts/screenshots.sh; MIRVEN_DPI=144 for 150 %).
TEST(Screenshots, DISABLED_KeyboardStates) {
  CMainFrameDlg& frame = CMainFrameDlg::GetInstance();
  if (!frame.hwnd()) {
    ASSERT_TRUE(frame.Create(nullptr));
    ShowWindow(frame.hwnd(), SW_SHOW);
  }
  SetForegroundWindow(frame.hwnd());
  // As after a first Tab: the keyboard's cues shown.
  SendMessageW(frame.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  const controls::Targets& header = frame.HeaderTargets();

  // The cleanup page: "全部清理" focused, "暂停" and "停止" disabled as the page starts.
  frame.SelectPage(1);
  HWND cleanup = frame.PageWindow(1)->hwnd();
  SetFocus(GetDlgItem(cleanup, IDC_CLEANUP_CLEAN_ALL));
  wintest::Pump();
  EXPECT_TRUE(wintest::SaveScreen(ui::WindowRect(frame.hwnd()), "keys-cleanup-focus-disabled"));

  // The toolkit page: its page button focused, the first tile pressed.
  frame.SelectPage(2);
  SetFocus(header.Window(static_cast<size_t>(header.IndexOf(2))));
  HWND page = frame.PageWindow(2)->hwnd();
  HWND tile = GetNextDlgTabItem(page, nullptr, FALSE);
  SendMessageW(tile, BM_SETSTATE, TRUE, 0);
  wintest::Pump();
  EXPECT_TRUE(wintest::SaveScreen(ui::WindowRect(frame.hwnd()), "keys-toolkit-header-focus-pressed"));
  SendMessageW(tile, BM_SETSTATE, FALSE, 0);

  // The shopping page: a card focused.
  frame.SelectPage(3);
  HWND card = GetNextDlgTabItem(frame.PageWindow(3)->hwnd(), nullptr, FALSE);
  SetFocus(GetWindow(card, GW_HWNDNEXT));
  wintest::Pump();
  EXPECT_TRUE(wintest::SaveScreen(ui::WindowRect(frame.hwnd()), "keys-shopping-card-focus"));
  frame.SelectPage(1);
}
