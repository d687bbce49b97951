// Mirven.exe with arguments, started as its own process under Wine: what
// it prints (UTF-8 into files), its report, its exit code, the files it
// leaves, and that it never creates a window.
#include <windows.h>
#include <taskschd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "cleanup/RunLock.h"
#include "cleanup/TempTree.h"
#include "cli/Schedule.h"
#include "e2e/E2E.h"
#include "ui/Handles.h"
#include "base/Folders.h"
#include "base/Text.h"

namespace {

using cleanuptest::Exists;
using cleanuptest::TempTree;

using e2e::Quoted;
using e2e::ReadAll;
using e2e::WindowsOf;

// Runs Mirven.exe with `args`, its output and errors in files of `where`.
e2e::CommandLineRun RunProgram(const std::wstring& args, const TempTree& where) {
  return e2e::RunCommandLine(args, where.Root());
}

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
  e2e::CommandLineRun r = RunProgram(L"/scan " + Quoted(t.Path("junk")) + L" /report " + Quoted(report), t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  // UTF-8 bytes when redirected, one path a line, then the summary.
  EXPECT_EQ(r.out,
            t.Path("junk\\a.tmp") + "\r\n" + t.Path("junk\\深 层\\缓存.old") + "\r\n" +
                "扫描已完成！本次共扫描出 2 个垃圾文件，立即清除可帮您节省 6KB 磁盘空间。\r\n");
  std::string json = ReadAll(report);
  EXPECT_NE(json.find("\"mode\": \"scan\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"size\": 5000"), std::string::npos) << json;
  EXPECT_EQ(json.find("keep"), std::string::npos);
  EXPECT_NE(json.find("\"exitCode\": 0"), std::string::npos);
  EXPECT_TRUE(Exists(t.Path("junk\\a.tmp")));
  EXPECT_EQ(r.windows, 0);

  // The report on standard output, the listing then on the error stream.
  r = RunProgram(L"/scan " + Quoted(t.Path("junk")) + L" /report -", t);
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.out.substr(0, 2), "{\n");
  EXPECT_NE(r.out.find("缓存.old"), std::string::npos);
  EXPECT_NE(r.err.find("扫描已完成"), std::string::npos);

  // The same watch sees the windows of the program without arguments.
  e2e::RunningApp gui;
  ASSERT_TRUE(gui.Launch(e2e::ProgramPath(), L""));
  EXPECT_TRUE(e2e::WaitUntil([&] { return WindowsOf(gui.pid()) > 0; }, 30000));
}

TEST(CommandLineE2E, CleanRemovesTheJunkAndListsWhatItKept) {
  TempTree t("cli-clean");
  MakeJunk(t);
  t.Write("junk\\held.tmp", 10);
  HANDLE held = CreateFileW(base::Wide(t.Path("junk\\held.tmp")).c_str(), GENERIC_READ,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  e2e::CommandLineRun r = RunProgram(L"/clean " + Quoted(t.Path("junk")) + L" /permanent /quiet", t);
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

  // By default into the Recycle Bin (of this test run's own Wine prefix).
  const std::string report = t.Path("r.json");
  r = RunProgram(L"/clean " + Quoted(t.Path("junk")) + L" /report " + Quoted(report), t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_FALSE(Exists(t.Path("junk\\held.tmp")));
  EXPECT_NE(ReadAll(report).find("\"result\": \"recycled\""), std::string::npos) << ReadAll(report);
  EXPECT_NE(r.out.find("回收站"), std::string::npos) << r.out;

  // Nothing left to do.
  r = RunProgram(L"/clean " + Quoted(t.Path("junk")), t);
  EXPECT_EQ(r.code, 0u) << r.err;
}

// The scheduled clean is this command: what the user keeps stays. The
// keep-list as Notepad's "Unicode" writes it (UTF-16 with its mark).
TEST(CommandLineE2E, ScanAndCleanLeaveTheKeptFiles) {
  TempTree t("cli-keep");
  MakeJunk(t);
  t.Write("junk\\kept.tmp", 10);
  t.Write("junk\\held\\inner.tmp", 10);
  const std::string keepFile = base::KnownFolder(FOLDERID_RoamingAppData) + "\\Mirven\\keep.txt";
  CreateDirectoryW(base::Wide(keepFile.substr(0, keepFile.rfind('\\'))).c_str(), nullptr);
  const std::wstring lines = base::Wide(t.Path("junk\\KEPT.tmp") + "\r\n" + t.Path("junk\\held") + "\r\n");
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(lines.data()), lines.size() * 2);
  std::ofstream(base::Wide(keepFile).c_str(), std::ios::binary) << bytes;

  e2e::CommandLineRun r = RunProgram(L"/scan " + Quoted(t.Path("junk")), t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.find("kept.tmp"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("inner.tmp"), std::string::npos) << r.out;
  r = RunProgram(L"/clean " + Quoted(t.Path("junk")) + L" /quiet", t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_FALSE(Exists(t.Path("junk\\a.tmp")));
  EXPECT_TRUE(Exists(t.Path("junk\\kept.tmp")));
  EXPECT_TRUE(Exists(t.Path("junk\\held\\inner.tmp")));
  EXPECT_EQ(ReadAll(keepFile), bytes);  // read, never rewritten
  DeleteFileW(base::Wide(keepFile).c_str());
}

TEST(CommandLineE2E, RefusalsHaveTheirCodes) {
  TempTree t("cli-bad");
  e2e::CommandLineRun r = RunProgram(L"/scan /frobnicate", t);
  EXPECT_EQ(r.code, 2u);
  EXPECT_EQ(r.err, "未知的参数：/frobnicate（/? 查看用法）。\r\n");
  r = RunProgram(L"/clean /traces temp,bogus", t);
  EXPECT_EQ(r.code, 2u);
  EXPECT_NE(r.err.find("bogus"), std::string::npos);
  r = RunProgram(L"/scan /report " + Quoted(t.Path("no such folder\\deeper\\r.json")), t);
  EXPECT_EQ(r.code, 2u);
  EXPECT_NE(r.err.find("无法写入报告文件"), std::string::npos);
  // A folder is no report file: refused before any work.
  t.Write("junk\\a.tmp", 10);
  for (const std::wstring& report : {Quoted(t.Path("junk")), std::wstring(L"\"\"")}) {
    r = RunProgram(L"/clean " + Quoted(t.Path("junk")) + L" /report " + report, t);
    EXPECT_EQ(r.code, 2u) << r.err;
    EXPECT_TRUE(Exists(t.Path("junk\\a.tmp")));
  }

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

// Whether the Task Scheduler knows a task of this name.
bool TaskExists(const std::string& name) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const CLSID scheduler = {
      0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};
  ITaskService* service = nullptr;
  ITaskFolder* root = nullptr;
  IRegisteredTask* task = nullptr;
  VARIANT none;
  VariantInit(&none);
  BSTR folder = SysAllocString(L"\\"), taskName = SysAllocString(base::Wide(name).c_str());
  if (SUCCEEDED(CoCreateInstance(scheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                 reinterpret_cast<void**>(&service))) &&
      SUCCEEDED(service->Connect(none, none, none, none)) &&
      SUCCEEDED(service->GetFolder(folder, &root)))
    root->GetTask(taskName, &task);
  const bool found = task != nullptr;
  if (task) task->Release();
  if (root) root->Release();
  if (service) service->Release();
  SysFreeString(folder);
  SysFreeString(taskName);
  CoUninitialize();
  return found;
}

// Under Wine the task is registered and removed; Wine keeps neither its
// trigger nor its action, and runs no task, so those are checked natively
// on the task's XML only.
TEST(CommandLineE2E, ScheduleRegistersAndRemovesTheUsersTask) {
  TempTree t("cli-schedule");
  const std::string name = cli::TaskName(base::Utf8(cleanup::RunLock::UserSid()));
  e2e::CommandLineRun r = RunProgram(L"/schedule daily 03:30", t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_EQ(r.out, "计划任务已设置：每天 03:30 清理临时文件。\r\n");
  EXPECT_TRUE(TaskExists(name));
  r = RunProgram(L"/schedule weekly", t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_TRUE(TaskExists(name));
  r = RunProgram(L"/schedule off", t);
  EXPECT_EQ(r.code, 0u) << r.err;
  EXPECT_FALSE(TaskExists(name));
  r = RunProgram(L"/schedule off /quiet", t);
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.windows, 0);
}

}  // namespace
