#pragma once
// A command-line run without a window: the plan made from the arguments,
// the scan and clean by the page's own CleanupRun, what is printed, the
// report and the exit code. The system is reached only through a Host, so
// the whole run is tested natively with fakes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/DirectoryLister.h"
#include "cleanup/CleanAll.h"
#include "cleanup/CleanupRun.h"
#include "cleanup/KeepList.h"
#include "cli/Args.h"

namespace cli {

enum ExitCode : int {
  kExitDone = 0,          // done, or nothing to do
  kExitFilesKept = 1,     // some files could not be cleaned (they are listed)
  kExitBadArguments = 2,  // with the reason
  kExitBusy = 3,          // another scan or clean of this user is running
  kExitNoRoot = 4,        // no root could be read
  kExitFailed = 5,        // the report could not be written, the schedule not set
};

struct ExitFacts {
  bool badArguments = false;
  bool busy = false;
  size_t roots = 0, rootsRead = 0;
  uint64_t filesKept = 0;
  bool failed = false;
  // Options left as they were: a program running, a database locked.
  uint64_t optionsLeft = 0;
};
// The first that applies: 2, 3, 4, 5, 1, else 0.
int ExitCodeFor(const ExitFacts& facts);

struct Plan {
  Options options;
  // Full paths, each once; a root inside another root is walked with it.
  std::vector<std::string> roots;
  // The user's keep-list, as the page reads it. When it could not be read
  // at all, no file is cleaned: nobody can tell which ones the user keeps.
  cleanup::KeepList keep;
  bool keepUnknown = false;
};
// `absolute` turns a typed folder into a full path. Without typed folders
// the profile folder is the root; without "temp" there is none.
Plan MakePlan(const Options& options, const std::string& profile,
              const std::function<std::string(const std::string&)>& absolute);

class Host {
 public:
  virtual ~Host() = default;
  virtual base::DirectoryLister& Lister() = 0;
  // The engines of the page's clean.
  virtual cleanup::FileDeleter& Deleter() = 0;
  virtual cleanup::RecycleBin& Bin() = 0;
  virtual cleanup::OptionCleaner& Cleaner() = 0;
  // One line each, without its line break.
  virtual void Out(const std::string& line) = 0;
  virtual void Err(const std::string& line) = 0;
};

struct RunReport {
  Mode mode = Mode::kScan;
  bool permanent = false;
  OptionSet options{};
  struct Root {
    std::string path;
    bool read = false;
  };
  std::vector<Root> roots;
  std::vector<cleanup::FoundFile> files;
  // By file: found; deleted, recycled, deleted-no-bin (a drive without a
  // Recycle Bin), gone; kept: changed, refused.
  std::vector<const char*> results;
  std::vector<std::string> unreadableFolders;
  struct Trace {
    int option = 0;
    std::string result;  // planned or found for a scan; done, nothing, skipped-..., failed
    uint64_t bytes = 0, files = 0, rows = 0;
  };
  std::vector<Trace> traces;
  std::vector<std::string> errors;
  uint64_t foundBytes = 0, foundKB = 0;
  cleanup::CleanTally tally;
  ExitFacts facts;
  int exitCode = kExitDone;
};

// Runs a scan or a clean; prints the files found, the summary, the files
// kept and the completion lines (only errors when quiet). A clean is the
// page's "全部清理", without its questions: the bin is emptied only when
// "recycle" is named.
RunReport Execute(const Plan& plan, Host& host);

// The report as UTF-8 JSON, one object; text that is not UTF-8 is replaced.
std::string ReportJson(const RunReport& report);

}  // namespace cli
