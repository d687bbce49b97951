// The toolkit as a new user meets it: page 2 of the running program, every
// tool opened with the mouse and closed with its own close button, a tax
// computed, the carried calculator and clock started from their tiles. Plus the pictures of every
// tool window for scripts/screenshots.sh.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/E2E.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

struct Tool {
  int x, y;  // tile centre on the page
  const char* title;
  const char* shot;  // screenshot name
};
const Tool kTools[] = {
    {52, 62, "定时关机-Mirven电脑助手", "tool-shutdown"},
    {126, 62, "Mirven闹钟-Mirven电脑助手", "tool-alarm"},
    {200, 62, "磁盘碎片整理-Mirven电脑助手", "tool-defrag"},
    {52, 262, "个税计算器-Mirven电脑助手", "tool-tax"},
    {126, 262, "邮件发送器-Mirven电脑助手", nullptr}};  // pictured by its own tests

HWND OpenTool(const e2e::RunningApp& app, const Tool& t) {
  RECT r = e2e::RectOf(app.main());
  e2e::MoveMouse(r.left + e2e::D(t.x - 5), r.top + e2e::D(100 + t.y - 5));
  e2e::Click(r.left + e2e::D(t.x), r.top + e2e::D(100 + t.y));
  return app.WaitForWindow(t.title, L"#32770", 10000);
}

void CloseWithItsButton(HWND tool) {
  RECT r = e2e::RectOf(tool);
  e2e::MoveMouse(r.right - 14, r.top + 12);
  e2e::Click(r.right - 13, r.top + 13);
}

// An edit's text lives in the other process: ask for it.
std::string EditText(HWND dlg, int id) {
  wchar_t buf[256] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutW(GetDlgItem(dlg, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf),
                      SMTO_BLOCK, 2000, &n);
  return base::Utf8(buf);
}

void ClickItem(HWND dlg, int id) {
  RECT r = e2e::RectOf(GetDlgItem(dlg, id));
  e2e::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST(ToolsE2E, OpenEveryToolFromPageTwoAndComputeATax) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  e2e::ClickPageButton(app, 2);
  HWND page = app.Page("工具助手");
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(page) != FALSE; }));
  for (const Tool& t : kTools) {
    HWND tool = OpenTool(app, t);
    ASSERT_NE(tool, nullptr) << t.title;
    if (std::string(t.title).rfind("个税", 0) == 0) {
      SendMessageW(GetDlgItem(tool, IDC_TAX_GROSS), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"12500"));
      ClickItem(tool, IDC_TAX_COMPUTE);
      EXPECT_TRUE(e2e::WaitUntil([&] { return EditText(tool, IDC_TAX_AMOUNT) == "1245"; }))
          << EditText(tool, IDC_TAX_AMOUNT);
      EXPECT_EQ(EditText(tool, IDC_TAX_NET), "11255");
    }
    CloseWithItsButton(tool);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(tool); })) << t.title;
  }
}

// A visible top-level window of any process with this title.
HWND WaitForAnyWindow(const wchar_t* title) {
  HWND found = nullptr;
  e2e::WaitUntil(
      [&] {
        found = FindWindowW(nullptr, title);
        return found && IsWindowVisible(found);
      },
      15000);
  return found;
}

TEST(ToolsE2E, CalculatorAndClockTilesStartTheCarriedPrograms) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  e2e::ClickPageButton(app, 2);
  wchar_t local[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local)));
  const Tool programs[] = {{200, 262, "计算器", "calculator.exe"}, {274, 262, "时钟", "Clock.exe"}};
  for (const Tool& p : programs) {
    std::wstring file = std::wstring(local) + L"\\Mirven\\" + base::Wide(p.shot);
    DeleteFileW(file.c_str());
    RECT r = e2e::RectOf(app.main());
    e2e::MoveMouse(r.left + p.x - 5, r.top + 100 + p.y - 5);
    e2e::Click(r.left + p.x, r.top + 100 + p.y);
    HWND program = WaitForAnyWindow(base::Wide(p.title).c_str());
    ASSERT_NE(program, nullptr) << p.title;
    DWORD pid = 0;
    GetWindowThreadProcessId(program, &pid);
    EXPECT_NE(pid, app.pid());  // a program of its own
    EXPECT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    PostMessageW(program, WM_CLOSE, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(program); }));
  }
}

TEST(Screenshots, DISABLED_ToolWindows) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  e2e::ClickPageButton(app, 2);
  RECT r = e2e::RectOf(app.main());
  for (const Tool& t : kTools) {
    if (!t.shot) continue;
    HWND tool = OpenTool(app, t);
    ASSERT_NE(tool, nullptr) << t.title;
    if (std::string(t.shot) == "tool-tax") {
      SendMessageW(GetDlgItem(tool, IDC_TAX_GROSS), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"8000"));
      ClickItem(tool, IDC_TAX_COMPUTE);
    }
    e2e::MoveMouse(r.right - 5, r.bottom - 5);
    e2e::Settle(app);
    EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(tool), t.shot));
    PostMessageW(tool, WM_CLOSE, 0, 0);
  }
}

}  // namespace
