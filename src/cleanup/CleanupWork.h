#pragma once
// The cleanup page's long work, each on a worker of its own: the size of
// the chosen folder, the scan and "全部清理", all as one CleanupRun. What
// they report reaches the page through posts to its window, which drop
// what an older run of the same worker sends, and what the page no longer
// waits for: the scan's news only while it scans, the clean's while it cleans.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cleanup/CleanAll.h"
#include "cleanup/CleanupFlow.h"
#include "cleanup/CleanupRun.h"
#include "ui/Worker.h"

namespace cleanup {

class CleanupWork {
 public:
  // All run on the page's thread.
  struct View {
    std::function<void()> pending;  // found files wait in the run's session
    std::function<void(const ScanProgress&)> progress;
    std::function<void(const std::string&)> line;              // a line for the list
    std::function<void(int option, const std::string&)> item;  // an item the scan measured
    std::function<void(int option, const OptionResult&)> optionCleared;
    // The options of the programs installed, by id, and the ticks
    // remembered (nothing when none could be read).
    std::function<void(std::vector<bool>, std::optional<OptionSet>)> options;
    std::function<void(const std::string&)> status;  // the file being cleaned
    std::function<void(size_t)> cleaned;  // a file of the clean, by index: no longer to clean
    std::function<void(const CleanTally&)> cleanFinished;
    std::function<void()> measured;  // the root's size is known now
  };

  CleanupWork(HWND page, const CleanupFlow& flow, View view)
      : page_(page), flow_(flow), view_(std::move(view)) {}

  // The folder or drive the next scan walks; a folder's size, for the
  // progress bar, is measured on a worker (a drive's is asked at once).
  void SetRoot(const std::string& root);
  const std::string& Root() const { return root_; }
  uint64_t RootKB() const { return rootKB_; }
  // Without a worker the size stays unknown: the bar then only fills at the end.
  bool RootKnown() const { return rootKnown_; }
  // The walk of `root`; nullptr when no worker could start.
  std::shared_ptr<CleanupRun> StartScan(const std::string& root, OptionSet options, KeepList keep);
  bool StartClean(std::vector<FoundFile> files, OptionSet options, CleanMode mode);
  // One listed file, cleaned at once ("清理").
  CleanOneResult CleanNow(const FoundFile& file, CleanMode mode);
  // The Recycle Bin for "全部清理" and "清理", or with Shift held and confirmed
  // for `files` files, deletion for good; nothing when the user declined.
  std::optional<CleanMode> AskMode(size_t files) const;
  // Which programs are installed, and the ticks options.txt remembers;
  // false without a worker.
  bool LookForPrograms();
  // Writes the ticks to options.txt, atomically, off the page's thread.
  void SaveTicks(const OptionSet& ticks);

 private:
  HWND page_;
  const CleanupFlow& flow_;
  View view_;
  std::shared_ptr<ScanControl> measureControl_;
  std::string root_;
  uint64_t rootKB_ = 0;
  bool rootKnown_ = false;
  KeepList keep_;  // the last scan's
  ui::Worker scanWorker_, measureWorker_, cleanWorker_, programsWorker_, saveWorker_;
};

}  // namespace cleanup
