#include "cleanup/ScanWalk.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include <vector>

#include "cleanup/CleanupText.h"

namespace cleanup {

void ScanControl::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
}

void ScanControl::Pause() {
  std::lock_guard<std::mutex> lock(mutex_);
  paused_ = true;
}

void ScanControl::Resume() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

bool ScanControl::WaitWhilePaused() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !paused_ || stop_; });
  return !stop_;
}

bool ScanControl::Sleep(std::chrono::milliseconds d) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, d, [this] { return stop_.load(); });
  changed_.wait(lock, [this] { return !paused_ || stop_; });
  return !stop_;
}

bool IsSystemFolder(std::string_view name) {
  auto same = [&](std::string_view system) {
    return name.size() == system.size() &&
           std::equal(name.begin(), name.end(), system.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
           });
  };
  return same("$Recycle.Bin") || same("RECYCLER") || same("System Volume Information");
}

bool InSystemFolder(const std::string& path, char sep) {
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find(sep, start);
    if (end == std::string::npos) end = path.size();
    if (IsSystemFolder(std::string_view(path).substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

bool ScanWalk::Run(const std::string& root, const FileVisitor& visit) {
  counts_ = WalkCounts{};
  const char sep = lister_.Separator();
  // The bins' own files and the system's restore points are never junk:
  // deleting a bin's index files leaves its items beyond restoring.
  if (root.empty() || InSystemFolder(root, sep)) return !control_.Stopped();
  // One frame per folder on the way down: its entries, read at once (the
  // folder is closed again), and how far the walk has got through them.
  struct Frame {
    std::vector<DirEntry> entries;
    size_t next = 0;
    size_t base = 0;  // length of the folder's path in `path`
  };
  std::vector<Frame> stack;
  std::string path = root;
  auto enter = [&](uint64_t id) {
    Frame frame;
    frame.base = path.size();
    switch (lister_.Read(path, id, frame.entries)) {
      case ListResult::kListed: stack.push_back(std::move(frame)); return;
      case ListResult::kUnreadable: ++counts_.unreadableFolders; return;
      case ListResult::kNotFolder: ++counts_.reparsePointsSkipped; return;
    }
  };
  enter(0);
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next == top.entries.size()) {
      stack.pop_back();
      continue;
    }
    if (!control_.Continue()) return false;
    const DirEntry& e = top.entries[top.next++];
    path.resize(top.base);
    if (path.empty() || path.back() != sep) path += sep;
    path += e.name;
    if (e.reparsePoint) {
      ++counts_.reparsePointsSkipped;
    } else if (e.directory) {
      if (!IsSystemFolder(e.name)) enter(e.id);  // may grow the stack: `top` and `e` are not used after this
    } else {
      const uint64_t kb = SizeKB(e.size);
      const bool junk = patterns_.IsJunkName(e.name);
      counts_.scannedKB += kb;
      ++counts_.files;
      if (junk) {
        counts_.junkKB += kb;
        ++counts_.junkCount;
      }
      visit(path, e, junk);
    }
  }
  return !control_.Stopped();
}

uint64_t FolderSizeKB(DirectoryLister& lister, const std::string& folder, ScanControl* control,
                      WalkCounts* counts) {
  ScanControl own;
  const JunkPatterns none;
  ScanWalk walk(lister, none, control ? *control : own);
  walk.Run(folder, [](const std::string&, const DirEntry&, bool) {});
  if (counts) *counts = walk.Counts();
  return walk.scannedKB();
}

}  // namespace cleanup
