#include "cleanup/ScanSession.h"

#include <algorithm>

#include "cleanup/CleanupText.h"

namespace cleanup {

namespace {
std::atomic<uint64_t> lastGeneration{0};
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

ScanSession::ScanSession(std::string root, JunkPatterns patterns, Callbacks callbacks,
                         Throttle::Clock clock)
    : root_(std::move(root)),
      patterns_(std::move(patterns)),
      callbacks_(std::move(callbacks)),
      generation_(++lastGeneration),
      throttle_(kStatusPeriod, std::move(clock)) {}

void ScanSession::Run(DirectoryLister& lister) {
  if (started_.exchange(true)) return;
  ScanWalk walk(lister, patterns_, control_);
  walk.Run(root_, [&](const std::string& path, const DirEntry& e, bool junk) {
    OnFile(path, e, junk, walk.scannedKB());
  });
  {
    std::lock_guard<std::mutex> lock(mutex_);
    counts_ = walk.Counts();
  }
  scannedKB_.store(walk.scannedKB(), std::memory_order_relaxed);
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

std::vector<FoundFile> ScanSession::TakeSlice(size_t max) {
  std::vector<FoundFile> slice;
  std::lock_guard<std::mutex> lock(mutex_);
  while (slice.size() < max && !pending_.empty()) {
    FoundFile& f = pending_.front();
    if (listed_.emplace(f.path, f).second) {
      ++junkCount_;
      junkKB_ += f.kb;
      slice.push_back(std::move(f));
    }
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

std::optional<FoundFile> ScanSession::Find(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = listed_.find(path);
  if (it == listed_.end()) return std::nullopt;
  return it->second;
}

void ScanSession::Forget(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  listed_.erase(path);
}

std::vector<FoundFile> ScanSession::Listed() const {
  std::vector<FoundFile> files;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    files.reserve(listed_.size());
    for (const auto& entry : listed_) files.push_back(entry.second);
  }
  std::sort(files.begin(), files.end(),
            [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
  return files;
}

}  // namespace cleanup
