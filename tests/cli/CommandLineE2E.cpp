// Mirven.exe with arguments, started as its own process under Wine: what
// it prints (UTF-8 into files), its report, its exit code, the files it
// leaves, and that it never creates a window.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "cleanup/RunLock.h"
#include "cleanup/TempTree.h"
#include "e2e/E2E.h"
#include "ui/Handles.h"
#include "ui/Text.h"

namespace {

using cleanuptest::Exists;
using cleanuptest::TempTree;

std::string ReadAll(const std::string& path) {
  std::ifstream in(ui::Wide(path).c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Windows created by the process being watched, seen by a WinEvent hook.
std::atomic<DWORD> watchedPid{0};
std::atomic<int> windowsSeen{0};
void CALLBACK OnCreate(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (object == OBJID_WINDOW && pid == watchedPid) ++windowsSeen;
}

struct Outcome {
  DWORD code = STILL_ACTIVE;
  std::string out, err;
  int windows = 0;  // created by the program while it ran
};

// Runs Mirven.exe with `args`, its output and errors redirected to files.
Outcome RunProgram(const std::wstring& args, const TempTree& where) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const std::string outPath = where.Path("stdout.txt"), errPath = where.Path("stderr.txt");
  auto open = [&](const std::string& p) {
    return ui::FileHandle(CreateFileW(ui::Wide(p).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, 0, nullptr));
  };
  ui::FileHandle out = open(outPath), err = open(errPath);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out.get();
  si.hStdError = err.get();
  PROCESS_INFORMATION pi{};
  std::wstring exe = e2e::ProgramPath();
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  Outcome r;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnCreate, 0,
                                       0, WINEVENT_OUTOFCONTEXT);
  windowsSeen = 0;
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi)) {
    ADD_FAILURE() << "could not start " << ui::Utf8(exe);
    return r;
  }
  watchedPid = pi.dwProcessId;
  ResumeThread(pi.hThread);
  // Serve the hook's messages until the program has ended.
  e2e::WaitUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 120000);
  GetExitCodeProcess(pi.hProcess, &r.code);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  UnhookWinEvent(hook);
  r.windows = windowsSeen;
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  out.Reset();
  err.Reset();
  r.out = ReadAll(outPath);
  r.err = ReadAll(errPath);
  return r;
}

std::wstring Quoted(const std::string& path) { return L"\"" + ui::Wide(path) + L"\""; }

// The junk of the tests: two junk files (one with a Chinese name) and two
// files that stay.
void MakeJunk(const TempTree& t) {
  t.Write("junk\\a.tmp", 3000);
  t.Write("junk\\深 层\\缓存.old", 5000);
  t.Write("junk\\keep.txt", 100);
  t.Write("junk\\深 层\\keep.doc", 100);
}

TEST(CommandLineE2E, ScanListsExactlyTheJunkAndCreatesNoWindow) {
  TempTree t("cli-scan");
  MakeJunk(t);
  const std::string report = t.Path("报告 1.json");
  Outcome r = RunProgram(L"/scan " + Quoted(t.Path("junk")) + L" /report " + Quoted(report), t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  // UTF-8 bytes when redirected, one path a line, then the summary.
  EXPECT_EQ(r.out,
            t.Path("junk\\a.tmp") + "\r\n" + t.Path("junk\\深 层\\缓存.old") + "\r\n" +
                "扫描已完成！本次共扫描出 2 个垃圾文件，立即清除可帮您节省 6KB 磁盘空间。\r\n");
  std::string json = ReadAll(report);
  EXPECT_NE(json.find("\"mode\":\"scan\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"size\":5000"), std::string::npos) << json;
  EXPECT_EQ(json.find("keep"), std::string::npos);
  EXPECT_NE(json.find("\"exitCode\":0"), std::string::npos);
  EXPECT_TRUE(Exists(t.Path("junk\\a.tmp")));
  EXPECT_EQ(r.windows, 0);

  // The report on standard output, the listing then on the error stream.
  r = RunProgram(L"/scan " + Quoted(t.Path("junk")) + L" /report -", t);
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.out.substr(0, 2), "{\n");
  EXPECT_NE(r.out.find("缓存.old"), std::string::npos);
  EXPECT_NE(r.err.find("扫描已完成"), std::string::npos);

  // The hook sees the windows of a program that makes them.
  e2e::RunningApp gui;
  watchedPid = 0;
  windowsSeen = 0;
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_SHOW, nullptr, OnCreate, 0,
                                       0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(gui.Launch(e2e::ProgramPath(), L""));
  watchedPid = gui.pid();
  EXPECT_TRUE(e2e::WaitUntil([] { return windowsSeen > 0; }, 30000));
  UnhookWinEvent(hook);
}

TEST(CommandLineE2E, CleanRemovesTheJunkAndListsWhatItKept) {
  TempTree t("cli-clean");
  MakeJunk(t);
  t.Write("junk\\held.tmp", 10);
  HANDLE held = CreateFileW(ui::Wide(t.Path("junk\\held.tmp")).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Outcome r = RunProgram(L"/clean " + Quoted(t.Path("junk")) + L" /permanent /quiet", t);
  CloseHandle(held);
  EXPECT_EQ(r.code, 1u);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "未能清理：" + t.Path("junk\\held.tmp") + "（正在使用或拒绝访问）\r\n");
  EXPECT_FALSE(Exists(t.Path("junk\\a.tmp")));
  EXPECT_FALSE(Exists(t.Path("junk\\深 层\\缓存.old")));
  EXPECT_TRUE(Exists(t.Path("junk\\held.tmp")));
  EXPECT_TRUE(Exists(t.Path("junk\\keep.txt")));
  EXPECT_TRUE(Exists(t.Path("junk\\深 层\\keep.doc")));
  EXPECT_EQ(r.windows, 0);

  // Nothing left to do.
  r = RunProgram(L"/clean " + Quoted(t.Path("junk")) + L" /permanent", t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_FALSE(Exists(t.Path("junk\\held.tmp")));
}

TEST(CommandLineE2E, RefusalsHaveTheirCodes) {
  TempTree t("cli-bad");
  Outcome r = RunProgram(L"/scan /frobnicate", t);
  EXPECT_EQ(r.code, 2u);
  EXPECT_EQ(r.err, "未知的参数：/frobnicate（/? 查看用法）。\r\n");
  r = RunProgram(L"/clean /traces temp,bogus", t);
  EXPECT_EQ(r.code, 2u);
  EXPECT_NE(r.err.find("bogus"), std::string::npos);
  r = RunProgram(L"/scan /report " + Quoted(t.Path("no such folder\\deeper\\r.json")), t);
  EXPECT_EQ(r.code, 2u);
  EXPECT_NE(r.err.find("无法写入报告文件"), std::string::npos);

  r = RunProgram(L"/scan " + Quoted(t.Path("missing")), t);
  EXPECT_EQ(r.code, 4u);
  EXPECT_EQ(r.err, "无法读取文件夹：" + t.Path("missing") + "\r\n");

  // Another run of this user holds the lock.
  cleanup::RunLock lock;
  ASSERT_TRUE(lock.TryAcquire());
  t.Write("junk\\a.tmp", 10);
  r = RunProgram(L"/clean " + Quoted(t.Path("junk")), t);
  EXPECT_EQ(r.code, 3u);
  EXPECT_EQ(r.err, "另一个扫描或清理正在进行，请稍后再试。\r\n");
  EXPECT_TRUE(Exists(t.Path("junk\\a.tmp")));
  lock.Release();

  r = RunProgram(L"/?", t);
  EXPECT_EQ(r.code, 0u);
  EXPECT_NE(r.out.find("/schedule daily|weekly|off"), std::string::npos);
  EXPECT_EQ(r.windows, 0);
}

}  // namespace
