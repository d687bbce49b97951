#pragma once
// One junk scan: its roots and patterns, the walk with pause and stop, the
// files found on their way to the list, and the totals of what was taken.
// It knows no window: the walk runs on the caller's thread (a worker) and
// reports through callbacks; the view takes the found files in slices and
// shows the totals. Each scan is a session of its own, so a stopped scan
// still unwinding shares nothing with the next one.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/DirectoryLister.h"
#include "cleanup/CleanAll.h"
#include "cleanup/JunkRules.h"
#include "cleanup/KeepList.h"
#include "cleanup/ScanWalk.h"

namespace cleanup {

// Lets something through a few times a second at most.
class Throttle {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // Without a clock, the steady clock.
  explicit Throttle(std::chrono::milliseconds period, Clock clock = nullptr);
  // True at the first call, then once `period` has passed since the last true.
  bool Due();

 private:
  std::chrono::milliseconds period_;
  Clock clock_;
  bool first_ = true;
  std::chrono::steady_clock::time_point last_{};
};

struct ScanProgress {
  uint64_t scannedKB = 0;
  // The file being examined; empty when the scan has no patterns, which
  // leaves the status line as it is.
  std::string path;
};

class ScanSession {
 public:
  // How often the status line follows the walk.
  static constexpr std::chrono::milliseconds kStatusPeriod{120};

  // All run on the walk's thread; a view posts them to its window.
  struct Callbacks {
    // A file was found while none was pending: take slices.
    std::function<void()> pending;
    // At the first file, then at most once per kStatusPeriod.
    std::function<void(const ScanProgress&)> progress;
    // Once, last, when the walk has ended or stopped.
    std::function<void()> finished;
  };

  // The roots are walked in turn; none may lie inside another.
  ScanSession(std::vector<std::string> roots, JunkPatterns patterns, Callbacks callbacks,
              Throttle::Clock clock = nullptr);
  ScanSession(std::string root, JunkPatterns patterns, Callbacks callbacks,
              Throttle::Clock clock = nullptr)
      : ScanSession(std::vector<std::string>{std::move(root)}, std::move(patterns),
                    std::move(callbacks), std::move(clock)) {}
  ScanSession(const ScanSession&) = delete;
  ScanSession& operator=(const ScanSession&) = delete;

  // Unique in the process, rising: tells a session's messages apart.
  uint64_t generation() const { return generation_; }
  const std::vector<std::string>& Roots() const { return roots_; }
  const JunkPatterns& Patterns() const { return patterns_; }

  // Files the user keeps are never listed. Before Run only.
  void Keep(KeepList keep) { keep_ = std::move(keep); }

  // The walk, on the calling thread; returns when it has ended or was
  // stopped, after `finished`. A second call does nothing.
  void Run(DirectoryLister& lister);

  // Any thread. Stop also ends a pause and drops the files not yet taken:
  // only what the list shows counts.
  void Stop();
  void Pause() { control_.Pause(); }
  void Resume() { control_.Resume(); }
  bool Stopped() const { return control_.Stopped(); }
  bool Paused() const { return control_.Paused(); }
  ScanControl& control() { return control_; }
  uint64_t ScannedKB() const { return scannedKB_.load(std::memory_order_relaxed); }
  bool WalkEnded() const { return walkEnded_.load(std::memory_order_acquire); }
  // What the walk met, over all roots; complete once it has ended.
  WalkCounts Counts() const;
  // How each root's own listing went (kListed: it was walked), and the
  // folders below that could not be read; complete once the walk has ended.
  std::vector<ListResult> RootResults() const;
  std::vector<std::string> UnreadableFolders() const;

  // Up to `max` found files, in walk order, counted in the totals.
  std::vector<FoundFile> TakeSlice(size_t max);
  bool HasPending() const;
  // The walk has ended and every found file was taken (or dropped).
  bool Done() const { return WalkEnded() && !HasPending(); }

  // Totals of the files taken, for the summary.
  uint64_t JunkCount() const;
  uint64_t JunkKB() const;
  std::string Summary() const;

 private:
  void OnFile(const std::string& path, const DirEntry& entry, bool junk, uint64_t scannedKB);

  const std::vector<std::string> roots_;
  const JunkPatterns patterns_;
  const Callbacks callbacks_;
  KeepList keep_;
  const uint64_t generation_;
  Throttle throttle_;  // the walk's thread only
  ScanControl control_;
  std::atomic<bool> started_{false};
  std::atomic<bool> walkEnded_{false};
  std::atomic<uint64_t> scannedKB_{0};

  mutable std::mutex mutex_;
  std::deque<FoundFile> pending_;
  uint64_t junkCount_ = 0, junkKB_ = 0;
  WalkCounts counts_;
  std::vector<ListResult> rootResults_;
  std::vector<std::string> unreadable_;
};

}  // namespace cleanup
