#include "cli/CommandLine.h"

#include <windows.h>

#include <ctime>
#include <memory>

#include "cleanup/CleanupText.h"
#include "cleanup/FileOps.h"
#include "cleanup/KeepStore.h"
#include "cleanup/RunLock.h"
#include "cleanup/Traces.h"
#include "base/WinLister.h"
#include "cli/Console.h"
#include "cli/Run.h"
#include "cli/Schedule.h"
#include "cli/TaskSchedule.h"
#include "base/Folders.h"
#include "base/Text.h"

namespace cli {

namespace {

std::string FullPath(const std::string& path) {
  std::wstring wide = base::Wide(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return path;
    if (n < full.size()) {
      full.resize(n);
      return base::Utf8(full);
    }
    full.resize(n);
  }
}

// A typed folder as a full path; "D:" is the drive's root.
std::string RootPath(const std::string& typed) {
  if (typed.size() == 2 && typed[1] == ':') return typed;
  return FullPath(typed);
}

std::string ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return "";
    if (n < path.size()) return base::Utf8(path.substr(0, n));
    path.resize(path.size() * 2);
  }
}

// The report file: written whole to a temporary file beside it, then moved
// over it, so that a reader never sees half a report.
class ReportFile {
 public:
  explicit ReportFile(const std::string& path) : path_(FullPath(path)) {
    temp_ = path_ + ".tmp-" + std::to_string(GetCurrentProcessId());
  }
  // Whether the report can be written there; its folder is made when only
  // the last level is missing (%LOCALAPPDATA%\Mirven).
  bool Writable() {
    // A folder is no report file.
    const DWORD attrs = GetFileAttributesW(base::Wide(path_).c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::wstring folder = base::Wide(path_.substr(0, path_.find_last_of('\\')));
    CreateDirectoryW(folder.c_str(), nullptr);
    HANDLE probe = CreateFileW(base::Wide(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    CloseHandle(probe);
    return true;
  }
  bool Write(const std::string& text) {
    std::wstring temp = base::Wide(temp_);
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
              done == text.size() && FlushFileBuffers(file);
    CloseHandle(file);
    ok = ok && MoveFileExW(temp.c_str(), base::Wide(path_).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_, temp_;
};

class WinHost : public Host {
 public:
  WinHost(Console& console, cleanup::KeepList keep)
      : console_(console), cleaner_(nullptr, std::move(keep)) {}
  base::DirectoryLister& Lister() override { return lister_; }
  cleanup::FileDeleter& Deleter() override { return deleter_; }
  cleanup::RecycleBin& Bin() override { return bin_; }
  cleanup::OptionCleaner& Cleaner() override { return cleaner_; }
  void Out(const std::string& line) override { console_.Out(line); }
  void Err(const std::string& line) override { console_.Err(line); }

 private:
  Console& console_;
  base::WinLister lister_;
  cleanup::WinDeleter deleter_;
  cleanup::WinRecycleBin bin_;
  // No owner window: nothing of the system's own may show either.
  cleanup::TraceCleaner cleaner_;
};

int Schedule(const Options& options, Console& console) {
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  TaskPlan plan;
  plan.repeat = options.repeat;
  plan.program = ProgramPath();
  plan.reportPath = base::KnownFolder(FOLDERID_LocalAppData) + "\\Mirven\\last-clean.json";
  plan.dayOfWeek = local.tm_wday;
  // The first run is the next one at that time.
  std::tm first = local;
  if (options.hour * 60 + options.minute <= local.tm_hour * 60 + local.tm_min)
    first.tm_mday += options.repeat == Repeat::kWeekly ? 7 : 1;
  first.tm_isdst = -1;
  std::mktime(&first);
  plan.startBoundary = StartBoundary(first.tm_year + 1900, first.tm_mon + 1, first.tm_mday,
                                     options.hour, options.minute);
  std::string error = ApplySchedule(TaskName(base::Utf8(cleanup::RunLock::UserSid())),
                                    options.repeat == Repeat::kOff ? "" : TaskXml(plan));
  if (!error.empty()) {
    console.Err(error);
    return kExitFailed;
  }
  if (!options.quiet) console.Out(ScheduleDoneText(options, plan.dayOfWeek));
  return kExitDone;
}

int Run(const std::vector<std::string>& args, Console& console) {
  ParseResult parsed = ParseArguments(args);
  if (!parsed.ok()) {
    console.Err(parsed.error);
    return kExitBadArguments;
  }
  const Options& o = parsed.options;
  if (o.mode == Mode::kHelp) {
    console.Out(UsageText());
    return kExitDone;
  }
  if (o.mode == Mode::kSchedule) return Schedule(o, console);

  std::unique_ptr<ReportFile> file;
  if (o.report == "-") {
    console.KeepOutputForRaw();
  } else if (!o.report.empty()) {
    file = std::make_unique<ReportFile>(o.report);
    if (!file->Writable()) {
      console.Err("无法写入报告文件：" + file->Path() + "。");
      return kExitBadArguments;
    }
  }
  cleanup::RunLock lock;
  if (!lock.TryAcquire()) {
    console.Err(cleanup::kAnotherRun);
    return kExitBusy;
  }
  Plan plan = MakePlan(o, cleanup::traces().ProfileFolder(), RootPath);
  // The junk files and today's programs' items alike leave what the user keeps.
  cleanup::KeepForScan keep = cleanup::ReadKeepListForScan(cleanup::traces().KeepListFile());
  if (!keep.warning.empty()) console.Err(keep.warning);
  plan.keep = keep.list;
  plan.keepUnknown = keep.unknown;
  WinHost host(console, std::move(keep.list));
  RunReport report = Execute(plan, host);
  const std::string json = ReportJson(report);
  if (o.report == "-") console.Raw(json);
  if (file && !file->Write(json)) {
    console.Err("无法写入报告文件：" + file->Path() + "。");
    report.facts.failed = true;
    return ExitCodeFor(report.facts);
  }
  return report.exitCode;
}

}  // namespace

bool HasArguments(const wchar_t* commandLine) {
  return SplitCommandLine(base::Utf8(commandLine ? commandLine : L"")).size() > 1;
}

int RunCommandLine(const wchar_t* commandLine) {
  // A drive without media must not stop a walk with the system's box.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::vector<std::string> args = SplitCommandLine(base::Utf8(commandLine));
  args.erase(args.begin());
  Console console;
  int code = Run(args, console);
  console.Finish();
  return code;
}

}  // namespace cli
