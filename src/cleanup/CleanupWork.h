#pragma once
// The cleanup page's long work, each on a worker of its own: the size of
// the chosen folder, the scan and "全部清理", all as one CleanupRun. What
// they report reaches the page through posts to its window, which drop
// what an older run of the same worker sends, and what the page no longer
// waits for: the scan's news only while it scans, the clean's while it cleans.
#include <windows.h>

#include <functional>
#include <memory>
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
    std::function<void(const std::string&)> line;    // a line for the list
    std::function<void(const std::string&)> status;  // the file being cleaned
    std::function<void(size_t)> cleaned;  // a file of the clean, by index: no longer to clean
    std::function<bool(const OptionResult&)> askEmptyBin;
    std::function<void(const CleanTally&)> cleanFinished;
    std::function<void(uint64_t kb)> measured;
  };

  CleanupWork(HWND page, const CleanupFlow& flow, View view)
      : page_(page), flow_(flow), view_(std::move(view)) {}

  // The folder's size in KB, for the progress bar; false without a worker.
  bool Measure(const std::string& folder);
  // The walk of `root`; nullptr when no worker could start.
  std::shared_ptr<CleanupRun> StartScan(const std::string& root, OptionSet options, KeepList keep);
  bool StartClean(std::vector<FoundFile> files, OptionSet options, CleanMode mode);
  // One listed file, cleaned at once ("清理").
  CleanOneResult CleanNow(const FoundFile& file, CleanMode mode);

 private:
  HWND page_;
  const CleanupFlow& flow_;
  View view_;
  std::shared_ptr<ScanControl> measureControl_;
  KeepList keep_;  // the last scan's
  ui::Worker scanWorker_, measureWorker_, cleanWorker_;
};

}  // namespace cleanup
