#include "cleanup/CleanJob.h"

#include <algorithm>

#include "cleanup/FileOps.h"
#include "cleanup/ScanSession.h"
#include "cleanup/Traces.h"

namespace cleanup {

CleanTally RunCleanJob(const std::vector<FoundFile>& files, const CleanChoice& chosen,
                       CleanMode mode, HWND owner, const std::function<bool()>& stop,
                       const CleanJobSink& sink) {
  bool options[kOptionCount];
  std::copy(chosen.begin(), chosen.end(), options);
  if (options[kRecycleBin]) {
    bool first[kOptionCount] = {};
    first[kRecycleBin] = true;
    options[kRecycleBin] = false;
    CleanSelectedOptions(first, owner, sink.line);
  }
  Throttle status(ScanSession::kStatusPeriod);
  WinDeleter deleter;
  WinRecycleBin bin;
  CleanTally tally = CleanFiles(deleter, &bin, mode, files, [&](size_t k, DeleteResult r) {
    if (CleanTally::Done(r)) sink.done(k);
    if (status.Due()) sink.status(files[k].path);
    return !stop();
  });
  sink.line(CleanReport(tally));
  if (!stop()) CleanSelectedOptions(options, owner, sink.line);
  return tally;
}

}  // namespace cleanup
