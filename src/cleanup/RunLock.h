#pragma once
// One scan or clean of the user's files at a time, across the cleanup page
// and command-line runs: a mutex per user in the session's namespace,
// named with the user's SID. A name that cannot be opened (another program
// took it, with other rights) counts as another run.
#include <windows.h>

#include <string>

#include "base/Handles.h"

namespace cleanup {

class RunLock {
 public:
  RunLock() = default;
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;
  ~RunLock() { Release(); }

  // True when the runs are now ours; a thread that holds the lock through
  // another RunLock gets it again (the page scans and cleans at once).
  bool TryAcquire();
  void Release();
  bool Held() const { return held_; }

  // "Local\Mirven.CleanupRun.S-1-5-21-..."
  static std::wstring Name();
  // The user's SID as text; without one, the user's name.
  static std::wstring UserSid();

 private:
  base::KernelHandle mutex_;
  bool held_ = false;
};

}  // namespace cleanup
