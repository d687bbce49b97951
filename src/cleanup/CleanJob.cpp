#include "cleanup/CleanJob.h"

#include <algorithm>

#include "cleanup/FileOps.h"
#include "cleanup/ScanSession.h"
#include "cleanup/Traces.h"

namespace cleanup {

void RunCleanJob(const std::vector<FoundFile>& files, const CleanChoice& chosen, HWND owner,
                 const std::function<bool()>& stop, const CleanJobSink& sink) {
  Throttle status(ScanSession::kStatusPeriod);
  WinDeleter deleter;
  CleanTally tally = CleanAll(deleter, files, [&](const FoundFile& f, DeleteResult r) {
    if (CleanTally::Done(r)) sink.done(f);
    if (status.Due()) sink.status(f.path);
    return !stop();
  });
  sink.line(CleanReport(tally));
  bool options[kOptionCount];
  std::copy(chosen.begin(), chosen.end(), options);
  if (!stop()) CleanSelectedOptions(options, owner, sink.line);
}

}  // namespace cleanup
