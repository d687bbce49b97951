#pragma once
// Long work off the window's thread. A Worker owns its threads: Start runs a
// body on a new thread, RequestStop asks it to end (the body polls its
// StopToken, and network waits watch its flag), and the destructor asks
// every run to end and waits for it. Starting again while an older run
// still unwinds gives the new run its own stop flag; the old one is only
// waited for at the end. Workers never touch windows: they reach them with
// their token's Post, which drops what a run posts once a newer run has
// started or the worker is gone.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class StopToken {
 public:
  StopToken(std::shared_ptr<const std::atomic<bool>> flag,
            std::shared_ptr<const std::atomic<uint64_t>> current, uint64_t run)
      : flag_(std::move(flag)), current_(std::move(current)), run_(run) {}
  bool StopRequested() const { return flag_->load(std::memory_order_relaxed); }
  // The flag itself, for waits that watch it (network streams); valid for
  // the run's lifetime.
  const std::atomic<bool>* Flag() const { return flag_.get(); }
  // Queues `task` for `hwnd`'s thread (see PostTask). It runs only if this
  // run is still its worker's current one then; false when it was dropped
  // at once.
  bool Post(HWND hwnd, std::function<void()> task) const;

 private:
  std::shared_ptr<const std::atomic<bool>> flag_;
  std::shared_ptr<const std::atomic<uint64_t>> current_;
  uint64_t run_;
};

class Worker {
 public:
  using Body = std::function<void(const StopToken&)>;

  Worker() = default;
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  ~Worker();

  // Starts `body` on a new thread after asking any current run to stop;
  // what older runs post is dropped from now on. False when no thread
  // could be started: nothing runs then.
  bool Start(Body body);
  // Asks the current run to stop; it ends at its next look at the token.
  void RequestStop();
  // Asks the current run to stop and drops whatever it posts from now on.
  void Abandon();
  // True while the current run's thread has not ended.
  bool Running() const;
  // Asks every run to stop and waits for each (at most `limitMs` each).
  void StopAndJoin(unsigned long limitMs = kJoinLimitMs);

  // A run ends within this once asked to stop: every wait it makes watches
  // its flag.
  static constexpr unsigned long kJoinLimitMs = 1000;

 private:
  struct Run {
    void* thread;  // HANDLE
    std::shared_ptr<std::atomic<bool>> stop;
  };
  // Closes the handles of runs that have ended, except the current one.
  void Prune();

  std::vector<Run> runs_;  // the last one is the current run
  // The number of the current run; read by posted tasks on the window's
  // thread, written there by Start and the destructor.
  std::shared_ptr<std::atomic<uint64_t>> current_ = std::make_shared<std::atomic<uint64_t>>(0);
};

}  // namespace ui
