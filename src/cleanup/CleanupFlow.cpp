#include "cleanup/CleanupFlow.h"

#include "cleanup/CleanupText.h"

namespace cleanup {

CleanupFlow::Enabled CleanupFlow::Controls() const {
  switch (state_) {
    case State::kScanning:
    case State::kPaused: return {false, true, true, false, true, false};
    case State::kCleaning: return {false, false, false, true, false, false};
    default: return {true, false, false, true, true, true};
  }
}

const char* CleanupFlow::PauseCaption() const {
  return state_ == State::kPaused ? kContinueText : kPauseText;
}

bool CleanupFlow::StartScan() {
  if (Scanning() || Cleaning()) return false;
  state_ = State::kScanning;
  return true;
}

bool CleanupFlow::Pause() {
  if (state_ != State::kScanning) return false;
  state_ = State::kPaused;
  return true;
}

bool CleanupFlow::Resume() {
  if (state_ != State::kPaused) return false;
  state_ = State::kScanning;
  return true;
}

bool CleanupFlow::FinishScan() {
  if (!Scanning()) return false;
  state_ = State::kScanned;
  return true;
}

bool CleanupFlow::StartClean() {
  if (Scanning() || Cleaning()) return false;
  state_ = State::kCleaning;
  return true;
}

bool CleanupFlow::FinishClean() {
  if (!Cleaning()) return false;
  state_ = State::kScanned;
  return true;
}

}  // namespace cleanup
