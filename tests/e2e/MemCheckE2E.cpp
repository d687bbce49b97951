// The memory and check-up pages as a new user meets them: read the memory
// figures, speed up, then run a check-up of the prefix's own profile to its
// end. Plus the two pages' pictures for scripts/screenshots.sh.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "e2e/E2E.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

void ClickItem(HWND page, int id) {
  RECT r = e2e::RectOf(GetDlgItem(page, id));
  e2e::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::string ItemText(HWND page, int id) { return e2e::TextOf(GetDlgItem(page, id)); }

std::vector<std::string> ListLines(HWND list) {
  std::vector<std::string> lines;
  int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int k = 0; k < n; ++k) {
    LRESULT len = SendMessageW(list, LB_GETTEXTLEN, k, 0);
    std::wstring w(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    len = SendMessageW(list, LB_GETTEXT, k, reinterpret_cast<LPARAM>(w.data()));
    w.resize(len > 0 ? static_cast<size_t>(len) : 0);
    lines.push_back(base::Utf8(w));
  }
  return lines;
}

bool HasLine(HWND list, const std::string& line) {
  for (const std::string& l : ListLines(list))
    if (l == line) return true;
  return false;
}

bool SpeedUpReported(HWND page) {
  return std::regex_match(ItemText(page, IDC_MEMORY_MESSAGE),
                          std::regex("本次加速为您清理了-?[0-9]+MB内存哦~"));
}

const int kProfileIds[] = {IDC_CHECKUP_WINDOWS,   IDC_CHECKUP_SERVICE_PACK, IDC_CHECKUP_BITNESS,
                           IDC_CHECKUP_PROCESSOR, IDC_CHECKUP_MEMORY,       IDC_CHECKUP_VIRTUAL,
                           IDC_CHECKUP_DISK,      IDC_CHECKUP_VIDEO};

TEST(MemCheckE2E, SpeedUpThenCheckUpTheComputer) {
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  HWND memory = app.Page("优化加速");
  ASSERT_NE(memory, nullptr);
  e2e::ClickPageButton(app, 5);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(memory) != FALSE; }));
  EXPECT_TRUE(
      std::regex_match(ItemText(memory, IDC_MEMORY_USAGE), std::regex("(0|[1-9][0-9]?|100)%")))
      << ItemText(memory, IDC_MEMORY_USAGE);
  EXPECT_TRUE(std::regex_match(ItemText(memory, IDC_MEMORY_USED), std::regex("[1-9][0-9]*MB")));
  EXPECT_TRUE(std::regex_match(ItemText(memory, IDC_MEMORY_TOTAL), std::regex("[1-9][0-9]*MB")));
  ClickItem(memory, IDC_MEMORY_SPEED_UP);
  EXPECT_TRUE(e2e::WaitUntil([&] { return SpeedUpReported(memory); }, 30000))
      << ItemText(memory, IDC_MEMORY_MESSAGE);

  HWND checkup = app.Page("电脑体检");
  ASSERT_NE(checkup, nullptr);
  e2e::ClickPageButton(app, 4);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(checkup) != FALSE; }));
  ClickItem(checkup, IDC_CHECKUP_START);
  HWND list = GetDlgItem(checkup, IDC_CHECKUP_LIST);
  ASSERT_TRUE(e2e::WaitUntil([&] { return HasLine(list, "电脑硬件检测完毕！"); }, 120000));
  ASSERT_TRUE(e2e::WaitUntil([&] {
    std::string caption = ItemText(checkup, IDC_CHECKUP_STOP);
    return caption == "立即清理" || HasLine(list, "您的电脑没有垃圾冗余等问题，无需清理！");
  }));
  for (int id : kProfileIds) EXPECT_NE(ItemText(checkup, id), "检测中......") << id;
  EXPECT_TRUE(
      std::regex_match(ItemText(checkup, IDC_CHECKUP_MEMORY), std::regex("[1-9][0-9]* MB")));
  EXPECT_TRUE(std::regex_match(ItemText(checkup, IDC_CHECKUP_DISK), std::regex("[0-9]+GB")));
  EXPECT_EQ(ItemText(checkup, IDC_CHECKUP_WINDOWS).rfind("Windows ", 0), 0u);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(checkup, IDC_CHECKUP_START)));
}

// Files in the prefix user's profile, so that a check-up has something to
// walk for a moment; removed afterwards.
class ProfileFiles {
 public:
  ProfileFiles() {
    PWSTR path = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &path)) && path)
      root_ = std::wstring(path) + L"\\MirvenShots-" + std::to_wstring(GetCurrentProcessId());
    CoTaskMemFree(path);
    if (root_.empty()) return;
    CreateDirectoryW(root_.c_str(), nullptr);
    for (int d = 0; d < 100; ++d) {
      std::wstring folder = root_ + L"\\d" + std::to_wstring(d);
      CreateDirectoryW(folder.c_str(), nullptr);
      for (int f = 0; f < 100; ++f) {
        HANDLE h = CreateFileW((folder + L"\\f" + std::to_wstring(f) + L".dat").c_str(),
                               GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        static const std::string data(2048, 'x');  // whole KB: they count
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
        CloseHandle(h);
      }
    }
  }
  ~ProfileFiles() {
    if (root_.empty()) return;
    for (int d = 0; d < 100; ++d) {
      std::wstring folder = root_ + L"\\d" + std::to_wstring(d);
      for (int f = 0; f < 100; ++f)
        DeleteFileW((folder + L"\\f" + std::to_wstring(f) + L".dat").c_str());
      RemoveDirectoryW(folder.c_str());
    }
    RemoveDirectoryW(root_.c_str());
  }

 private:
  std::wstring root_;
};

TEST(Screenshots, DISABLED_MemoryAndCheckUpPages) {
  ProfileFiles files;
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  RECT main = e2e::RectOf(app.main());
  HWND memory = app.Page("优化加速");
  e2e::ClickPageButton(app, 5);
  // Off the buttons: no hover light.
  e2e::MoveMouse(main.left + e2e::D(700), main.top + e2e::D(450));
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "memory-before"));
  ClickItem(memory, IDC_MEMORY_SPEED_UP);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SpeedUpReported(memory); }, 30000));
  e2e::MoveMouse(main.left + e2e::D(700), main.top + e2e::D(450));
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "memory-after"));

  HWND checkup = app.Page("电脑体检");
  e2e::ClickPageButton(app, 4);
  ClickItem(checkup, IDC_CHECKUP_START);
  HWND progress = GetDlgItem(checkup, IDC_CHECKUP_PROGRESS);
  ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(progress, PBM_GETPOS, 0, 0) > 0; }, 60000));
  e2e::MoveMouse(main.left + e2e::D(700), main.top + e2e::D(450));
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "checkup-running"));
  HWND list = GetDlgItem(checkup, IDC_CHECKUP_LIST);
  ASSERT_TRUE(e2e::WaitUntil([&] { return HasLine(list, "电脑硬件检测完毕！"); }, 120000));
  e2e::MoveMouse(main.left + e2e::D(700), main.top + e2e::D(450));
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "checkup-done"));
}

}  // namespace
