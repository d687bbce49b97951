#pragma once
// "全部清理" as one job for a worker: delete the listed files, then clear
// the chosen traces. It reports through the sink and never touches a window
// itself; the page posts what it hears to its own thread.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "cleanup/CleanAll.h"
#include "cleanup/CleanupText.h"

namespace cleanup {

using CleanChoice = std::array<bool, kOptionCount>;  // by CleanOption

struct CleanJobSink {
  // A listed file that is no longer to delete (deleted, or already gone).
  std::function<void(const FoundFile&)> done;
  // The file being deleted, a few times a second at most.
  std::function<void(const std::string&)> status;
  // The report line, then one completion line per cleared trace.
  std::function<void(const std::string&)> line;
};

// Stops before the next file, and clears no traces, once `stop` says so.
void RunCleanJob(const std::vector<FoundFile>& files, const CleanChoice& chosen, HWND owner,
                 const std::function<bool()>& stop, const CleanJobSink& sink);

}  // namespace cleanup
