#pragma once
// The recursive walks of the cleanup page over a DirectoryLister: the junk
// scan and the folder size. Neither descends into reparse points; a folder
// that cannot be listed is passed over.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "cleanup/DirectoryLister.h"
#include "cleanup/JunkRules.h"

namespace cleanup {

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

class ScanWalk {
 public:
  // Called for every file visited, with its full path and whether it is junk.
  using FileVisitor = std::function<void(const std::string& path, const DirEntry& entry, bool junk)>;

  ScanWalk(DirectoryLister& lister, const JunkPatterns& patterns, ScanControl& control)
      : lister_(lister), patterns_(patterns), control_(control) {}

  // Walks `root`; returns false when it was stopped.
  bool Run(const std::string& root, const FileVisitor& visit);

  // Totals of the last run (KB truncated file by file).
  uint64_t scannedKB() const { return scannedKB_; }
  uint64_t junkKB() const { return junkKB_; }
  uint64_t junkCount() const { return junkCount_; }
  uint64_t files() const { return files_; }
  uint64_t unreadableFolders() const { return unreadable_; }
  uint64_t reparsePointsSkipped() const { return reparse_; }

 private:
  bool Walk(std::string& path, const FileVisitor& visit);

  DirectoryLister& lister_;
  const JunkPatterns& patterns_;
  ScanControl& control_;
  uint64_t scannedKB_ = 0, junkKB_ = 0, junkCount_ = 0, files_ = 0, unreadable_ = 0, reparse_ = 0;
};

// KB of all files below `folder` (reparse points not followed); stops early,
// with what it has, when `control` says stop.
uint64_t FolderSizeKB(DirectoryLister& lister, const std::string& folder,
                      ScanControl* control = nullptr);

}  // namespace cleanup
