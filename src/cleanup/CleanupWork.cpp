#include "cleanup/CleanupWork.h"

#include <chrono>
#include <future>
#include <optional>

#include "base/WinLister.h"
#include "cleanup/FileOps.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/Traces.h"

namespace cleanup {

bool CleanupWork::Measure(const std::string& folder) {
  if (measureControl_) measureControl_->Stop();
  measureWorker_.Abandon();
  auto control = measureControl_ = std::make_shared<ScanControl>();
  return measureWorker_.Start([this, control, folder](const ui::StopToken& run) {
    uint64_t kb = 0;
    if (!IsLinkFolder(folder)) {
      base::WinLister lister;
      kb = FolderSizeKB(lister, folder, control.get());
    }
    run.Post(page_, [this, kb] { view_.measured(kb); });
  });
}

std::shared_ptr<CleanupRun> CleanupWork::StartScan(const std::string& root, OptionSet options,
                                                   KeepList keep) {
  // The clean of what this scan showed leaves what this scan left.
  keep_ = keep;
  // The token is the worker's run, set before the walk reports anything.
  auto token = std::make_shared<std::optional<ui::StopToken>>();
  auto post = [this, token](std::function<void()> show) { (*token)->Post(page_, std::move(show)); };
  RunSink sink;
  sink.pending = sink.scanned = [this, post] {
    post([this] {
      if (flow_.Scanning()) view_.pending();
    });
  };
  sink.progress = [this, post](const ScanProgress& p) {
    post([this, p] {
      if (flow_.Scanning()) view_.progress(p);
    });
  };
  sink.error = [this, post](const std::string& line) { post([this, line] { view_.line(line); }); };
  // Each item found after the walk: its line, with its files and size.
  sink.option = [this, post](int, const OptionResult& found) {
    if (!found.line.empty()) post([this, line = found.line] { view_.line(line); });
  };
  auto run = std::make_shared<CleanupRun>(std::vector<std::string>{root}, std::move(options),
                                          std::move(keep), std::move(sink));
  bool started = scanWorker_.Start([run, token, keep = keep_](const ui::StopToken& t) {
    *token = t;
    base::WinLister lister;
    TraceCleaner cleaner(nullptr, keep);
    run->Scan(lister, cleaner);
  });
  return started ? run : nullptr;
}

bool CleanupWork::StartClean(std::vector<FoundFile> files, OptionSet options, CleanMode mode) {
  return cleanWorker_.Start([this, files = std::move(files), options = std::move(options), mode,
                             keep = keep_](const ui::StopToken& token) {
    Throttle status(ScanSession::kStatusPeriod);
    RunSink sink;
    sink.file = [&](size_t k, DeleteResult r) {
      if (CleanTally::Done(r))
        token.Post(page_, [this, k] {
          if (flow_.Cleaning()) view_.cleaned(k);
        });
      if (status.Due()) token.Post(page_, [this, path = files[k].path] { view_.status(path); });
    };
    sink.line = [&](const std::string& line) {
      token.Post(page_, [this, line] { view_.line(line); });
    };
    sink.confirmEmptyBin = [&](const OptionResult& held) {
      auto answer = std::make_shared<std::promise<bool>>();
      std::future<bool> asked = answer->get_future();
      token.Post(page_, [this, answer, held] { answer->set_value(view_.askEmptyBin(held)); });
      // A question the page never shows (it is closing) keeps the bin as it is.
      while (asked.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        if (token.StopRequested()) return false;
      try {
        return asked.get();
      } catch (const std::future_error&) {
        return false;
      }
    };
    sink.stop = [&token] { return token.StopRequested(); };
    CleanupRun run({}, options, KeepList(), std::move(sink));
    WinDeleter deleter;
    WinRecycleBin bin;
    TraceCleaner cleaner(page_, keep);
    CleanTally tally = run.Clean(files, mode, deleter, &bin, cleaner);
    token.Post(page_, [this, tally] { view_.cleanFinished(tally); });
  });
}

CleanOneResult CleanupWork::CleanNow(const FoundFile& file, CleanMode mode) {
  WinDeleter deleter;
  WinRecycleBin bin;
  return CleanOne(deleter, &bin, mode, file);
}

}  // namespace cleanup
