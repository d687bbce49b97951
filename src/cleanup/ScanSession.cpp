#include "cleanup/ScanSession.h"

#include "cleanup/CleanupText.h"

namespace cleanup {

namespace {

std::atomic<uint64_t> lastGeneration{0};

// Remembers how the root's own listing went and which folders below it
// could not be read.
class RecordingLister : public DirectoryLister {
 public:
  explicit RecordingLister(DirectoryLister& inner) : inner_(inner) {}
  ListResult Read(const std::string& folder, uint64_t id, std::vector<DirEntry>& entries) override {
    ListResult r = inner_.Read(folder, id, entries);
    if (!rootDone_) {
      rootDone_ = true;
      root = r;
    } else if (r == ListResult::kUnreadable) {
      unreadable.push_back(folder);
    }
    return r;
  }
  char Separator() const override { return inner_.Separator(); }
  ListResult root = ListResult::kUnreadable;
  std::vector<std::string> unreadable;

 private:
  DirectoryLister& inner_;
  bool rootDone_ = false;
};

void AddCounts(WalkCounts& to, const WalkCounts& c) {
  to.files += c.files;
  to.scannedKB += c.scannedKB;
  to.junkCount += c.junkCount;
  to.junkKB += c.junkKB;
  to.unreadableFolders += c.unreadableFolders;
  to.reparsePointsSkipped += c.reparsePointsSkipped;
}

}  // namespace

Throttle::Throttle(std::chrono::milliseconds period, Clock clock)
    : period_(period), clock_(clock ? std::move(clock) : Clock(std::chrono::steady_clock::now)) {}

bool Throttle::Due() {
  const auto now = clock_();
  if (!first_ && now - last_ < period_) return false;
  first_ = false;
  last_ = now;
  return true;
}

ScanSession::ScanSession(std::vector<std::string> roots, JunkPatterns patterns,
                         Callbacks callbacks, Throttle::Clock clock)
    : roots_(std::move(roots)),
      patterns_(std::move(patterns)),
      callbacks_(std::move(callbacks)),
      generation_(++lastGeneration),
      throttle_(kStatusPeriod, std::move(clock)) {}

void ScanSession::Run(DirectoryLister& lister) {
  if (started_.exchange(true)) return;
  WalkCounts total;
  for (const std::string& root : roots_) {
    RecordingLister recording(lister);
    ScanWalk walk(recording, patterns_, control_);
    const uint64_t before = total.scannedKB;
    walk.Run(root, [&](const std::string& path, const DirEntry& e, bool junk) {
      OnFile(path, e, junk, before + walk.scannedKB());
    });
    AddCounts(total, walk.Counts());
    std::lock_guard<std::mutex> lock(mutex_);
    rootResults_.push_back(root.empty() ? ListResult::kUnreadable : recording.root);
    unreadable_.insert(unreadable_.end(), recording.unreadable.begin(), recording.unreadable.end());
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    counts_ = total;
  }
  scannedKB_.store(total.scannedKB, std::memory_order_relaxed);
  walkEnded_.store(true, std::memory_order_release);
  if (callbacks_.finished) callbacks_.finished();
}

void ScanSession::OnFile(const std::string& path, const DirEntry& e, bool junk,
                         uint64_t scannedKB) {
  scannedKB_.store(scannedKB, std::memory_order_relaxed);
  if (junk && !keep_.Keeps(path)) {
    bool first = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      // Once stopped, nothing more goes to the list.
      if (!control_.Stopped()) {
        first = pending_.empty();
        pending_.push_back(FoundFile{path, FileIdentity{e.size, e.lastWrite}, SizeKB(e.size)});
      }
    }
    if (first && callbacks_.pending) callbacks_.pending();
  }
  if (throttle_.Due() && callbacks_.progress)
    callbacks_.progress(ScanProgress{scannedKB, patterns_.Empty() ? std::string() : path});
}

void ScanSession::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  control_.Stop();
  pending_.clear();
}

WalkCounts ScanSession::Counts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return counts_;
}

std::vector<ListResult> ScanSession::RootResults() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return rootResults_;
}

std::vector<std::string> ScanSession::UnreadableFolders() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return unreadable_;
}

std::vector<FoundFile> ScanSession::TakeSlice(size_t max) {
  std::vector<FoundFile> slice;
  std::lock_guard<std::mutex> lock(mutex_);
  while (slice.size() < max && !pending_.empty()) {
    FoundFile& f = pending_.front();
    ++junkCount_;
    junkKB_ += f.kb;
    slice.push_back(std::move(f));
    pending_.pop_front();
  }
  return slice;
}

bool ScanSession::HasPending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !pending_.empty();
}

uint64_t ScanSession::JunkCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return junkCount_;
}

uint64_t ScanSession::JunkKB() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return junkKB_;
}

std::string ScanSession::Summary() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ScanSummary(junkCount_, junkKB_);
}

}  // namespace cleanup
