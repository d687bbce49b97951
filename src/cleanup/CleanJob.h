#pragma once
// "全部清理" as one job for a worker: empty the Recycle Bin when chosen,
// clean the listed files (into the bin unless asked otherwise), then clear
// the other chosen traces. It reports through the sink and never touches a
// window itself; the page posts what it hears to its own thread.
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
  // A listed file, by its index in `files`, that is no longer to clean
  // (recycled, deleted, or already gone).
  std::function<void(size_t)> done;
  // The file being cleaned, a few times a second at most.
  std::function<void(const std::string&)> status;
  // The report line and one completion line per cleared trace.
  std::function<void(const std::string&)> line;
};

// The bin is emptied before the files go into it, so that afterwards it
// holds exactly what this clean removed. Stops before the next batch of
// files, and clears no more traces, once `stop` says so.
CleanTally RunCleanJob(const std::vector<FoundFile>& files, const CleanChoice& chosen,
                       CleanMode mode, HWND owner, const std::function<bool()>& stop,
                       const CleanJobSink& sink);

}  // namespace cleanup
