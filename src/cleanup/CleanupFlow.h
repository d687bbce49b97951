#pragma once
// The cleanup page's rules for what can be clicked while it scans, cleans
// or waits.

namespace cleanup {

// The page's rules for what can be clicked, by what it is doing.
class CleanupFlow {
 public:
  enum class State { kIdle, kScanning, kPaused, kScanned, kCleaning };
  struct Enabled {
    bool start, pause, stop, tree, clean, cleanAll;
  };

  State Current() const { return state_; }
  bool Scanning() const { return state_ == State::kScanning || state_ == State::kPaused; }
  bool Cleaning() const { return state_ == State::kCleaning; }
  Enabled Controls() const;
  // "暂停" or, while paused, "继续".
  const char* PauseCaption() const;

  // False (nothing changes) where the step does not apply now.
  bool StartScan();
  bool Pause();
  bool Resume();
  // The walk ended, or was stopped; a pause ends with it.
  bool FinishScan();
  bool StartClean();
  bool FinishClean();

 private:
  State state_ = State::kIdle;
};

}  // namespace cleanup
