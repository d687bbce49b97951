#pragma once
// Long work off the window's thread. A Worker owns its threads: Start runs a
// body on a new thread, RequestStop asks it to end (the body polls its
// StopToken), and the destructor asks every run to end and waits for it.
// Starting again while an older run still unwinds gives the new run its own
// stop flag; the old one is only waited for at the end. Workers never touch
// windows: they reach them with PostTask.
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class StopToken {
 public:
  explicit StopToken(std::shared_ptr<const std::atomic<bool>> flag) : flag_(std::move(flag)) {}
  bool StopRequested() const { return flag_->load(std::memory_order_relaxed); }

 private:
  std::shared_ptr<const std::atomic<bool>> flag_;
};

class Worker {
 public:
  using Body = std::function<void(const StopToken&)>;

  Worker() = default;
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;
  ~Worker();

  // Starts `body` on a new thread after asking any current run to stop.
  // False when no thread could be started: nothing runs then.
  bool Start(Body body);
  // Asks the current run to stop; it ends at its next look at the token.
  void RequestStop();
  // True while the current run's thread has not ended.
  bool Running() const;
  // Asks every run to stop and waits for each (at most `limitMs` each).
  void StopAndJoin(unsigned long limitMs = 10000);

 private:
  struct Run {
    void* thread;  // HANDLE
    std::shared_ptr<std::atomic<bool>> stop;
  };
  // Closes the handles of runs that have ended, except the current one.
  void Prune();

  std::vector<Run> runs_;  // the last one is the current run
};

}  // namespace ui
