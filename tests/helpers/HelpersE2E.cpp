// The calculator and the clock as a user meets them: taken out of
// Mirven.exe the way its toolkit does, started as programs of their own and
// used with the mouse.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "calculator/CalculatorWnd.h"
#include "clock/ClockModel.h"
#include "clock/ClockWnd.h"
#include "e2e/E2E.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

// Writes the program that Mirven.exe carries as resource "EXE" `id` into
// the temporary folder; returns its path, or "" when it is not there.
std::wstring Extract(int id, const wchar_t* name) {
  HMODULE mod = LoadLibraryExW(e2e::ProgramPath().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!mod) return L"";
  std::string bytes;
  if (HRSRC res = FindResourceW(mod, MAKEINTRESOURCEW(id), L"EXE"))
    if (HGLOBAL data = LoadResource(mod, res))
      bytes.assign(static_cast<const char*>(LockResource(data)), SizeofResource(mod, res));
  FreeLibrary(mod);
  if (bytes.compare(0, 2, "MZ") != 0) return L"";
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"mirven-e2e-helpers";
  CreateDirectoryW(dir.c_str(), nullptr);
  std::wstring path = dir + L"\\" + name;
  std::ofstream(base::Utf8(path), std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Takes the program out of Mirven.exe and starts it.
bool StartCarried(e2e::RunningApp& app, int id, const wchar_t* file, const std::string& title) {
  std::wstring exe = Extract(id, file);
  return !exe.empty() && app.StartProgram(exe, title);
}

void ClickItem(HWND parent, int id) {
  RECT r = e2e::RectOf(GetDlgItem(parent, id));
  e2e::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST(HelpersE2E, CalculatorAddsWithTheMouse) {
  e2e::RunningApp app;
  ASSERT_TRUE(StartCarried(app, 344, L"calculator.exe", "计算器"));
  HWND display = GetDlgItem(app.main(), helpers::CalculatorWnd::kDisplayId);
  using calc::Key;
  for (Key k : {Key::Digit1, Key::Digit2, Key::Add, Key::Digit3, Key::Digit0, Key::Equals})
    ClickItem(app.main(), helpers::CalculatorWnd::ButtonId(k));
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TextOf(display) == "42"; })) << e2e::TextOf(display);
  // The keyboard goes on from there.
  for (WORD vk : {WORD('2'), WORD(VK_RETURN)}) e2e::Key(vk);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TextOf(display) == "2"; })) << e2e::TextOf(display);
  e2e::Key(VK_ESCAPE);
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TextOf(display) == "0"; })) << e2e::TextOf(display);

  PostMessageW(app.main(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitExit(5000), 0u);
}

// Seconds since midnight of a "HH:MM:SS" text.
int Seconds(const std::string& t) {
  int h = 0, m = 0, s = 0;
  if (std::sscanf(t.c_str(), "%d:%d:%d", &h, &m, &s) != 3) return -100000;
  return h * 3600 + m * 60 + s;
}

TEST(HelpersE2E, ClockShowsTheCurrentTime) {
  e2e::RunningApp clock;
  ASSERT_TRUE(StartCarried(clock, 345, L"Clock.exe", "时钟"));
  HWND time = GetDlgItem(clock.main(), helpers::ClockWnd::kTimeId);
  std::string shown = e2e::TextOf(time);
  SYSTEMTIME now;
  GetLocalTime(&now);
  int diff = (now.wHour * 3600 + now.wMinute * 60 + now.wSecond - Seconds(shown) + 86400) % 86400;
  EXPECT_LE(diff, 2) << shown;
  clockface::Moment today{now.wYear, now.wMonth, now.wDay, 0, 0, 0};
  EXPECT_EQ(e2e::TextOf(GetDlgItem(clock.main(), helpers::ClockWnd::kDateId)),
            clockface::DateText(today));
  // It keeps going.
  EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::TextOf(time) != shown; }, 3000));
}

TEST(Screenshots, DISABLED_CalculatorAndClock) {
  e2e::RunningApp calculator, clock;
  ASSERT_TRUE(StartCarried(calculator, 344, L"calculator.exe", "计算器"));
  using calc::Key;
  for (Key k : {Key::Digit1, Key::Digit2, Key::Point, Key::Digit5, Key::Multiply, Key::Digit8})
    ClickItem(calculator.main(), helpers::CalculatorWnd::ButtonId(k));
  e2e::MoveMouse(5, 5);
  e2e::Settle(calculator);
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(calculator.main()), "calculator"));
  ASSERT_TRUE(StartCarried(clock, 345, L"Clock.exe", "时钟"));
  e2e::Settle(clock);
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(clock.main()), "clock"));
}

}  // namespace
