#include "cleanup/ScanWalk.h"

#include "cleanup/CleanupText.h"

namespace cleanup {

std::string JoinPath(const std::string& folder, const std::string& name, char separator) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path = folder;
  if (path.empty() || path.back() != separator) path += separator;
  path += name;
  return path;
}

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

bool ScanWalk::Run(const std::string& root, const FileVisitor& visit) {
  scannedKB_ = junkKB_ = junkCount_ = files_ = unreadable_ = reparse_ = 0;
  if (root.empty()) return !control_.Stopped();
  std::string path = root;
  return Walk(path, visit);
}

bool ScanWalk::Walk(std::string& path, const FileVisitor& visit) {
  const size_t base = path.size();
  const char sep = lister_.Separator();
  const bool needSep = base == 0 || path.back() != sep;
  bool going = true;
  bool listed = lister_.List(path, [&](const DirEntry& e) {
    if (!control_.Continue()) return going = false;
    if (needSep) path += sep;
    path += e.name;
    if (e.reparsePoint) {
      ++reparse_;
    } else if (e.directory) {
      going = Walk(path, visit);
    } else {
      uint64_t kb = SizeKB(e.size);
      bool junk = patterns_.IsJunkName(e.name);
      scannedKB_ += kb;
      ++files_;
      if (junk) {
        junkKB_ += kb;
        ++junkCount_;
      }
      visit(path, e, junk);
    }
    path.resize(base);
    return going;
  });
  if (!listed) ++unreadable_;
  return going && !control_.Stopped();
}

namespace {

void AddFolderSize(DirectoryLister& lister, std::string& path, ScanControl* control,
                   uint64_t& total) {
  const size_t base = path.size();
  const char sep = lister.Separator();
  const bool needSep = base == 0 || path.back() != sep;
  lister.List(path, [&](const DirEntry& e) {
    if (control && control->Stopped()) return false;
    if (e.reparsePoint) return true;
    if (e.directory) {
      if (needSep) path += sep;
      path += e.name;
      AddFolderSize(lister, path, control, total);
      path.resize(base);
    } else {
      total += SizeKB(e.size);
    }
    return true;
  });
}

}  // namespace

uint64_t FolderSizeKB(DirectoryLister& lister, const std::string& folder, ScanControl* control) {
  uint64_t total = 0;
  if (folder.empty()) return 0;
  std::string path = folder;
  AddFolderSize(lister, path, control, total);
  return total;
}

}  // namespace cleanup
