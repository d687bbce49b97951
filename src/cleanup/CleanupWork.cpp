#include "cleanup/CleanupWork.h"

#include <chrono>
#include <future>
#include <mutex>
#include <optional>

#include "base/Paths.h"
#include "base/WinLister.h"
#include "cleanup/FileOps.h"
#include "cleanup/ItemEngine.h"
#include "cleanup/KeepStore.h"
#include "cleanup/OptionList.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/Traces.h"
#include "ui/Effects.h"

namespace cleanup {

void CleanupWork::SetRoot(const std::string& root) {
  root_ = NormalizeRoot(root);
  const bool drive = base::IsDriveRoot(root_);
  rootKB_ = drive ? DriveUsedKB(root_) : 0;
  if (measureControl_) measureControl_->Stop();
  measureWorker_.Abandon();
  rootKnown_ = root_.empty() || drive;
  if (rootKnown_) return;
  auto control = measureControl_ = std::make_shared<ScanControl>();
  rootKnown_ = !measureWorker_.Start([this, control, folder = root_](const ui::StopToken& run) {
    uint64_t kb = 0;
    if (!IsLinkFolder(folder)) {
      base::WinLister lister;
      kb = FolderSizeKB(lister, folder, control.get());
    }
    run.Post(page_, [this, kb] {
      rootKB_ = kb;
      rootKnown_ = true;
      view_.measured();
    });
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
  sink.option = [this, post](int option, const OptionResult& found) {
    if (!found.line.empty())
      post([this, option, line = found.line] {
        if (flow_.Scanning()) view_.item(option, line);
      });
  };
  auto run = std::make_shared<CleanupRun>(std::vector<std::string>{root}, std::move(options),
                                          std::move(keep), std::move(sink));
  bool started = scanWorker_.Start([this, run, token, keep = keep_](const ui::StopToken& t) {
    *token = t;
    base::WinLister lister;
    TraceCleaner cleaner(nullptr, keep);
    run->Scan(lister, cleaner);
    // The items are measured after the walk: the scan ends with them.
    t.Post(page_, [this] {
      if (flow_.Scanning()) view_.pending();
    });
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
    sink.option = [&](int option, const OptionResult& result) {
      token.Post(page_, [this, option, result] {
        if (flow_.Cleaning()) view_.optionCleared(option, result);
      });
    };
    sink.confirmEmptyBin = [&](const OptionResult& held) {
      auto answer = std::make_shared<std::promise<bool>>();
      std::future<bool> asked = answer->get_future();
      token.Post(page_, [this, answer, held] {
        answer->set_value(
            ui::effects().ShowMessage(page_, EmptyBinQuestion(held.files, held.bytes), kCaption,
                                      MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES);
      });
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

std::optional<CleanMode> CleanupWork::AskMode(size_t files) const {
  // Shift with the click deletes for good, as Shift+Delete does in Explorer.
  if (GetKeyState(VK_SHIFT) >= 0) return CleanMode::kRecycle;
  if (ui::effects().ShowMessage(page_, PermanentQuestion(files), kCaption,
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
    return std::nullopt;
  return CleanMode::kPermanent;
}

bool CleanupWork::LookForPrograms() {
  return programsWorker_.Start([this](const ui::StopToken& token) {
    std::optional<OptionSet> remembered;
    std::string text;
    const std::string ticksFile = traces().OptionsFile();
    if (!ticksFile.empty() && ReadKeepText(ticksFile, text) == KeepFile::State::kRead)
      remembered = ParseTicks(text);
    std::vector<bool> present = PresentOptions(itemSystem(), ThisUsersFolders());
    token.Post(page_, [this, present = std::move(present), remembered] {
      view_.options(present, remembered);
    });
  });
}

void CleanupWork::SaveTicks(const OptionSet& ticks) {
  saveWorker_.Start([text = TicksText(ticks)](const ui::StopToken& token) {
    // One write at a time, the newest last: an older run that still waits
    // here gives way.
    static std::mutex writing;
    std::lock_guard<std::mutex> hold(writing);
    const std::string ticksFile = traces().OptionsFile();
    if (!token.StopRequested() && !ticksFile.empty()) WriteKeepText(ticksFile, text);
  });
}

CleanOneResult CleanupWork::CleanNow(const FoundFile& file, CleanMode mode) {
  WinDeleter deleter;
  WinRecycleBin bin;
  return CleanOne(deleter, &bin, mode, file);
}

}  // namespace cleanup
