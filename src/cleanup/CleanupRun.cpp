#include "cleanup/CleanupRun.h"

#include <algorithm>

namespace cleanup {

std::string OptionResult::Result() const {
  switch (state) {
    case State::kDone: return "done";
    case State::kNothing: return "nothing";
    case State::kSkipped: return reason.empty() ? "skipped" : "skipped-" + reason;
    case State::kFailed: return "failed";
  }
  return "";
}

std::string OptionResult::Line(int option) const {
  if (!line.empty() || state != State::kDone) return line;
  return CompletionLine(option);
}

std::string NormalizeRoot(const std::string& path) {
  std::string r = path;
  for (char& c : r)
    if (c == '/') c = '\\';
  // "\\?\C:\x" is C:\x, "\\?\UNC\server\share" is \\server\share.
  if (r.rfind("\\\\?\\UNC\\", 0) == 0) {
    r.erase(2, 6);
  } else if (r.rfind("\\\\?\\", 0) == 0) {
    r.erase(0, 4);
  }
  while (r.size() > 2 && r.back() == '\\') r.pop_back();
  if (r.size() == 3 && r[1] == ':' && r[2] == '\\') r.pop_back();
  return r;
}

std::vector<std::string> NormalizeRoots(const std::vector<std::string>& roots) {
  std::vector<std::string> paths, keys;
  for (const std::string& root : roots) {
    paths.push_back(NormalizeRoot(root));
    keys.push_back(KeepKey(paths.back()));
  }
  // `inner` is `outer` or lies below it; keys compare as the file system does.
  auto within = [](const std::string& inner, const std::string& outer) {
    return inner.rfind(outer, 0) == 0 &&
           (inner.size() == outer.size() || outer.back() == '\\' || inner[outer.size()] == '\\');
  };
  std::vector<std::string> kept;
  for (size_t k = 0; k < paths.size(); ++k) {
    if (paths[k].empty() || keys[k].empty()) {
      if (!paths[k].empty()) kept.push_back(paths[k]);  // not UTF-8: the walk will say so
      continue;
    }
    bool covered = false;
    for (size_t o = 0; o < paths.size() && !covered; ++o) {
      if (o == k || keys[o].empty()) continue;
      // An equal root counts once, the first time it is given.
      covered = keys[o] == keys[k] ? o < k : within(keys[k], keys[o]);
    }
    if (!covered) kept.push_back(paths[k]);
  }
  return kept;
}

std::string RootNotFolderLine(const std::string& root) {
  return "未扫描：" + root + "（不是普通文件夹，而是文件、链接或交接点）";
}

std::string RootUnreadableLine(const std::string& root) { return "无法读取文件夹：" + root; }

CleanupRun::CleanupRun(std::vector<std::string> roots, OptionSet options, KeepList keep,
                       RunSink sink)
    : options_(std::move(options)), sink_(std::move(sink)) {
  options_.resize(OptionCount(), false);
  const bool walk = options_[kTempFiles];
  session_ = std::make_unique<ScanSession>(
      walk ? NormalizeRoots(roots) : std::vector<std::string>{},
      walk ? JunkPatterns::Defaults() : JunkPatterns(),
      ScanSession::Callbacks{sink_.pending, sink_.progress, sink_.scanned});
  session_->Keep(std::move(keep));
}

bool CleanupRun::Chosen(int option) const {
  return option >= 0 && static_cast<size_t>(option) < options_.size() && options_[option];
}

size_t CleanupRun::RootsRead() const {
  std::vector<ListResult> results = session_->RootResults();
  return static_cast<size_t>(std::count(results.begin(), results.end(), ListResult::kListed));
}

void CleanupRun::Scan(DirectoryLister& lister, OptionCleaner& cleaner) {
  session_->Run(lister);
  const std::vector<ListResult> results = session_->RootResults();
  for (size_t k = 0; k < results.size() && k < Roots().size(); ++k) {
    if (results[k] == ListResult::kListed || session_->Stopped() || !sink_.error) continue;
    // A link or junction as root shows what lies elsewhere: refused, as below it.
    sink_.error(results[k] == ListResult::kNotFolder ? RootNotFolderLine(Roots()[k])
                                                     : RootUnreadableLine(Roots()[k]));
  }
  for (int k = 0; static_cast<size_t>(k) < options_.size(); ++k) {
    if (!options_[k] || k == kTempFiles || k == kRecycleBin || session_->Stopped()) continue;
    std::optional<OptionResult> measured = cleaner.Measure(k);
    if (!measured) continue;
    // What an item found counts with the junk files in the summary.
    measuredFiles_ += measured->files;
    measuredKB_ += SizeKB(measured->bytes);
    if (sink_.option) sink_.option(k, *measured);
  }
}

std::string CleanupRun::Summary() const {
  return ScanSummary(session_->JunkCount() + measuredFiles_, session_->JunkKB() + measuredKB_) +
         SkippedFoldersNote(session_->Counts().unreadableFolders);
}

void CleanupRun::ClearOption(int option, OptionCleaner& cleaner) {
  OptionResult result = cleaner.Clear(option);
  if (sink_.option) sink_.option(option, result);
  if (std::string line = result.Line(option); !line.empty() && sink_.line) sink_.line(line);
}

CleanTally CleanupRun::Clean(const std::vector<FoundFile>& files, CleanMode mode,
                             FileDeleter& deleter, RecycleBin* bin, OptionCleaner& cleaner) {
  // Emptied first, the bin then holds exactly what this clean removed; and
  // only once the user has agreed to lose what it holds.
  if (Chosen(kRecycleBin) && !Stopping()) {
    std::optional<OptionResult> held = cleaner.Measure(kRecycleBin);
    if (held && held->files == 0) {
      OptionResult nothing = *held;
      nothing.state = OptionResult::State::kNothing;
      if (sink_.option) sink_.option(kRecycleBin, nothing);
    } else if (held && sink_.confirmEmptyBin && !sink_.confirmEmptyBin(*held)) {
      OptionResult declined;
      declined.state = OptionResult::State::kSkipped;
      declined.reason = "declined";
      if (sink_.option) sink_.option(kRecycleBin, declined);
    } else {
      ClearOption(kRecycleBin, cleaner);
    }
  }
  CleanTally tally = CleanFiles(deleter, bin, mode, files, [&](size_t k, DeleteResult r) {
    if (sink_.file) sink_.file(k, r);
    return !Stopping();
  });
  if ((Chosen(kTempFiles) || !files.empty()) && sink_.line) sink_.line(CleanReport(tally));
  for (int k = 0; static_cast<size_t>(k) < options_.size(); ++k) {
    if (!options_[k] || k == kTempFiles || k == kRecycleBin) continue;
    if (Stopping()) break;
    ClearOption(k, cleaner);
  }
  return tally;
}

}  // namespace cleanup
