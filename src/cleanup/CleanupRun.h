#pragma once
// One scan-and-clean, the same for the cleanup page and the command line:
// the roots (normalised once), the keep-list, the patterns, the walk of
// each root, and the clean in its one order: the Recycle Bin emptied first
// (when chosen and agreed to), then the files, then the report line, then
// the other options in id order. Both front ends drive it through a sink
// and show what it tells them; neither repeats a step.
//
// Options other than the junk files are cleared (and, where they can be,
// measured) through an OptionCleaner by id, so that a new cleaning item
// is a row of the option table and a case of the Windows engine.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/DirectoryLister.h"
#include "cleanup/CleanAll.h"
#include "cleanup/CleanupText.h"
#include "cleanup/KeepList.h"
#include "cleanup/ScanSession.h"

namespace cleanup {

// What measuring or clearing one option gave.
struct OptionResult {
  enum class State { kDone, kNothing, kSkipped, kFailed };
  State state = State::kDone;
  // Why it was skipped, as the report names it ("declined", "running").
  std::string reason;
  // For the user; empty: the option's completion line when done, else none.
  std::string line;
  uint64_t bytes = 0, files = 0, profiles = 0;
  uint64_t rows = 0;  // database rows (cookies, history)

  // The report's word: done, nothing, skipped-<reason>, failed.
  std::string Result() const;
  // The line to show: `line`, or the completion line of a done option.
  std::string Line(int option) const;
};

// The engine of the options by id (the traces today).
class OptionCleaner {
 public:
  virtual ~OptionCleaner() = default;
  // What the option would clear, where that can be told before; nullopt
  // where it cannot.
  virtual std::optional<OptionResult> Measure(int option) = 0;
  virtual OptionResult Clear(int option) = 0;
};

// All on the thread that runs the step; a view posts them to its window.
struct RunSink {
  // Found files wait: take them with Session().TakeSlice.
  std::function<void()> pending;
  std::function<void(const ScanProgress&)> progress;
  // The walk has ended or was stopped.
  std::function<void()> scanned;
  // A measured option after the walk; an option cleared in the clean.
  std::function<void(int option, const OptionResult&)> option;
  // A file of the clean, by its index in the files given, with its result.
  std::function<void(size_t, DeleteResult)> file;
  // A line for the user: the summary, the clean's report, completion lines.
  std::function<void(const std::string&)> line;
  // A root that could not be walked, and why.
  std::function<void(const std::string&)> error;
  // Asked before the bin is emptied, with what it holds; false keeps it.
  std::function<bool(const OptionResult&)> confirmEmptyBin;
  // Asked before each batch and option of the clean; true stops it.
  std::function<bool()> stop;
};

// A folder or drive as the walk takes it: "\" separators, no "\\?\"
// prefix, a drive as "C:", a folder without a trailing "\".
std::string NormalizeRoot(const std::string& path);
// Each root normalised and once; one inside another is walked with it.
std::vector<std::string> NormalizeRoots(const std::vector<std::string>& roots);

// The refusal of a root that is not a plain folder, and of one that
// cannot be read.
std::string RootNotFolderLine(const std::string& root);
std::string RootUnreadableLine(const std::string& root);

class CleanupRun {
 public:
  // Without kTempFiles among `options` no folder is walked.
  CleanupRun(std::vector<std::string> roots, OptionSet options, KeepList keep, RunSink sink);
  CleanupRun(const CleanupRun&) = delete;
  CleanupRun& operator=(const CleanupRun&) = delete;

  const OptionSet& Options() const { return options_; }
  bool Chosen(int option) const;
  // The walk's state: pause, stop, slices, totals, root results.
  ScanSession& Session() { return *session_; }
  const ScanSession& Session() const { return *session_; }
  const std::vector<std::string>& Roots() const { return session_->Roots(); }
  // How many roots were walked; complete after Scan.
  size_t RootsRead() const;

  // Walks every root on the calling thread, tells the roots that could not
  // be walked, then measures each chosen option the cleaner can tell of.
  void Scan(DirectoryLister& lister, OptionCleaner& cleaner);
  // True once Scan has returned: the walk and the options measured.
  bool Scanned() const { return scanned_.load(std::memory_order_acquire); }
  // The summary line of what was taken and measured, with the folders passed over.
  std::string Summary() const;

  // Cleans `files` and clears the chosen options, in the one order.
  CleanTally Clean(const std::vector<FoundFile>& files, CleanMode mode, FileDeleter& deleter,
                   RecycleBin* bin, OptionCleaner& cleaner);

 private:
  bool Stopping() const { return sink_.stop && sink_.stop(); }
  void ClearOption(int option, OptionCleaner& cleaner);

  OptionSet options_;
  RunSink sink_;
  std::unique_ptr<ScanSession> session_;
  // Of the options measured after the walk; a stopped scan's summary may
  // be read while the last option is measured.
  std::atomic<uint64_t> measuredFiles_{0}, measuredKB_{0};
  std::atomic<bool> scanned_{false};
};

}  // namespace cleanup
