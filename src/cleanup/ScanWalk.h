#pragma once
// The walks of the cleanup and check-up pages over a DirectoryLister: the
// junk scan and the folder size. They keep their pending folders on a stack
// of their own, so any depth the paths allow is walked, with one folder open
// at a time. Neither descends into reparse points; a folder that cannot be
// listed is passed over and counted.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "base/DirectoryLister.h"
#include "cleanup/JunkRules.h"

namespace cleanup {

// The walks go over the base library's folder listing.
using base::DirectoryLister;
using base::DirEntry;
using base::JoinPath;
using base::ListResult;

// Cooperative pause and stop: the walk asks at every entry whether to go
// on, and waits there while paused.
class ScanControl {
 public:
  void Stop();
  void Pause();
  void Resume();
  bool Stopped() const { return stop_.load(std::memory_order_relaxed); }
  bool Paused() const { return paused_.load(std::memory_order_relaxed); }
  // Waits while paused; false once stopped.
  bool Continue() {
    if (!paused_.load(std::memory_order_acquire)) return !stop_.load(std::memory_order_relaxed);
    return WaitWhilePaused();
  }
  // Waits up to `d` (longer while paused); false once stopped.
  bool Sleep(std::chrono::milliseconds d);

 private:
  bool WaitWhilePaused();
  std::atomic<bool> stop_{false};
  std::atomic<bool> paused_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
};

// What a walk met. A folder it had to pass over shows in the last two.
struct WalkCounts {
  uint64_t files = 0;
  uint64_t scannedKB = 0;  // KB truncated file by file
  uint64_t junkCount = 0;
  uint64_t junkKB = 0;
  uint64_t unreadableFolders = 0;  // could not be opened or read
  // Links, junctions and mount points, and folders that had become one by
  // the time they were opened: not followed.
  uint64_t reparsePointsSkipped = 0;
};

// "$Recycle.Bin", "RECYCLER" and "System Volume Information" in any case:
// folders of the system that a walk never enters.
bool IsSystemFolder(std::string_view name);

class ScanWalk {
 public:
  // Called for every file visited, with its full path and whether it is junk.
  using FileVisitor =
      std::function<void(const std::string& path, const DirEntry& entry, bool junk)>;

  ScanWalk(DirectoryLister& lister, const JunkPatterns& patterns, ScanControl& control)
      : lister_(lister), patterns_(patterns), control_(control) {}

  // Walks `root`, entries in listing order, each folder when it comes;
  // returns false when it was stopped.
  bool Run(const std::string& root, const FileVisitor& visit);

  // Totals of the last run, also while it runs (on the walk's thread).
  const WalkCounts& Counts() const { return counts_; }
  uint64_t scannedKB() const { return counts_.scannedKB; }
  uint64_t junkKB() const { return counts_.junkKB; }
  uint64_t junkCount() const { return counts_.junkCount; }
  uint64_t files() const { return counts_.files; }
  uint64_t unreadableFolders() const { return counts_.unreadableFolders; }
  uint64_t reparsePointsSkipped() const { return counts_.reparsePointsSkipped; }

 private:
  DirectoryLister& lister_;
  const JunkPatterns& patterns_;
  ScanControl& control_;
  WalkCounts counts_;
};

// KB of all files below `folder` (reparse points not followed); stops early,
// with what it has, when `control` says stop. `counts`, when given, gets
// the whole tally, skipped folders included.
uint64_t FolderSizeKB(DirectoryLister& lister, const std::string& folder,
                      ScanControl* control = nullptr, WalkCounts* counts = nullptr);

}  // namespace cleanup
