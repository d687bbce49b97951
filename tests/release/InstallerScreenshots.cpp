// Pictures of the setup program's welcome, folder and finish pages, run by
// scripts/screenshots.sh in the release tests' own Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/E2E.h"
#include "support/WinTest.h"
#include "ui/Text.h"

namespace {

// The installer's own buttons: 1 next/install/finish.
void ClickNext(HWND wizard) {
  HWND next = GetDlgItem(wizard, IDOK);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(next) != FALSE; }, 60000));
  PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
}

struct TextSearch {
  std::string text;
  HWND found;
};

BOOL CALLBACK MatchText(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TextSearch*>(lp);
  if (IsWindowVisible(h) && e2e::TextOf(h) == s->text) s->found = h;
  return s->found ? FALSE : TRUE;
}

HWND FindChildWithText(HWND parent, const std::string& text) {
  TextSearch s{text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void Shoot(HWND wizard, const char* name) {
  Sleep(600);  // the page is drawn by the other process and the X server
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(wizard), name));
}

TEST(Screenshots, DISABLED_InstallerPages) {
  std::wstring setup = L"Z:" + ui::Wide(MIRVEN_DIST_DIR "/Mirven-3.0-setup.exe");
  std::replace(setup.begin(), setup.end(), L'/', L'\\');
  e2e::RunningApp installer;
  ASSERT_TRUE(installer.Launch(setup, L""));
  HWND wizard = installer.WaitForWindow("Mirven电脑助手 安装", L"#32770", 30000);
  ASSERT_NE(wizard, nullptr);
  Shoot(wizard, "installer-welcome");
  ClickNext(wizard);
  Shoot(wizard, "installer-folder");
  ClickNext(wizard);  // to the components
  ClickNext(wizard);  // install
  HWND run = nullptr;
  ASSERT_TRUE(e2e::WaitUntil([&] { return (run = FindChildWithText(wizard, "运行 Mirven电脑助手")) != nullptr; },
                             60000));
  Shoot(wizard, "installer-finish");
  SendMessageW(run, BM_SETCHECK, BST_UNCHECKED, 0);
  ClickNext(wizard);
  EXPECT_EQ(0u, installer.WaitExit(30000));
}

}  // namespace
