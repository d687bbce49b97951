#include "cli/Run.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "cleanup/CleanupText.h"
#include "cleanup/ScanSession.h"

namespace cli {

namespace {

std::string FoldCase(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// `inner` is `outer` or lies below it (Windows paths: "\" and any case).
bool Within(const std::string& inner, const std::string& outer) {
  std::string i = FoldCase(inner), o = FoldCase(outer);
  if (i.rfind(o, 0) != 0) return false;
  return i.size() == o.size() || (!o.empty() && o.back() == '\\') || i[o.size()] == '\\';
}

// Remembers what the walk could not read: the root's own result comes first.
class RecordingLister : public base::DirectoryLister {
 public:
  explicit RecordingLister(base::DirectoryLister& inner) : inner_(inner) {}
  base::ListResult Read(const std::string& folder, uint64_t id,
                           std::vector<base::DirEntry>& entries) override {
    base::ListResult r = inner_.Read(folder, id, entries);
    if (!rootDone_) {
      rootDone_ = true;
      rootResult_ = r;
    } else if (r == base::ListResult::kUnreadable) {
      unreadable_.push_back(folder);
    }
    return r;
  }
  char Separator() const override { return inner_.Separator(); }
  bool RootRead() const { return rootDone_ && rootResult_ == base::ListResult::kListed; }
  base::ListResult RootResult() const { return rootResult_; }
  std::vector<std::string>& Unreadable() { return unreadable_; }

 private:
  base::DirectoryLister& inner_;
  bool rootDone_ = false;
  base::ListResult rootResult_ = base::ListResult::kUnreadable;
  std::vector<std::string> unreadable_;
};

const char* ResultName(cleanup::DeleteResult r) {
  switch (r) {
    case cleanup::DeleteResult::kDeleted: return "deleted";
    case cleanup::DeleteResult::kRecycled: return "recycled";
    case cleanup::DeleteResult::kNoBin: return "deleted-no-bin";
    case cleanup::DeleteResult::kGone: return "gone";
    case cleanup::DeleteResult::kChanged: return "changed";
    case cleanup::DeleteResult::kRefused: return "refused";
  }
  return "";
}

const char* KeptReason(cleanup::DeleteResult r) {
  return r == cleanup::DeleteResult::kChanged ? "扫描后已被改动" : "正在使用或拒绝访问";
}

}  // namespace

int ExitCodeFor(const ExitFacts& f) {
  if (f.badArguments) return kExitBadArguments;
  if (f.busy) return kExitBusy;
  if (f.roots > 0 && f.rootsRead == 0) return kExitNoRoot;
  if (f.failed) return kExitFailed;
  if (f.filesKept > 0) return kExitFilesKept;
  return kExitDone;
}

Plan MakePlan(const Options& options, const std::string& profile,
              const std::function<std::string(const std::string&)>& absolute) {
  Plan plan{options, {}};
  if (!options.options[cleanup::kTempFiles]) return plan;
  std::vector<std::string> roots;
  for (const std::string& typed : options.roots) roots.push_back(absolute(typed));
  if (options.roots.empty() && !profile.empty()) roots.push_back(profile);
  auto same = [](const std::string& a, const std::string& b) { return FoldCase(a) == FoldCase(b); };
  for (const std::string& r : roots) {
    bool held = std::any_of(roots.begin(), roots.end(), [&](const std::string& outer) {
      return !same(outer, r) && Within(r, outer);
    });
    bool twice = std::any_of(plan.roots.begin(), plan.roots.end(),
                             [&](const std::string& p) { return same(p, r); });
    if (!held && !twice) plan.roots.push_back(r);
  }
  return plan;
}

RunReport Execute(const Plan& plan, Host& host) {
  const Options& o = plan.options;
  RunReport report;
  report.mode = o.mode;
  report.permanent = o.permanent;
  report.options = o.options;
  auto out = [&](const std::string& line) {
    if (!o.quiet) host.Out(line);
  };
  auto error = [&](const std::string& line) {
    report.errors.push_back(line);
    host.Err(line);
  };

  // The scan: the page's ScanSession, root by root; the files found are
  // printed a few times a second, as the page shows them. No file is found
  // twice: no root lies inside another.
  std::vector<cleanup::FoundFile>& found = report.files;
  uint64_t unreadable = 0;
  size_t rootsRead = 0;
  for (const std::string& root : plan.roots) {
    RecordingLister lister(host.Lister());
    cleanup::ScanSession* current = nullptr;
    auto take = [&] {
      for (auto slice = current->TakeSlice(SIZE_MAX); !slice.empty();
           slice = current->TakeSlice(SIZE_MAX))
        for (cleanup::FoundFile& f : slice) {
          out(f.path);
          report.foundBytes += f.identity.size;
          report.foundKB += f.kb;
          found.push_back(std::move(f));
        }
    };
    cleanup::ScanSession session(root, cleanup::JunkPatterns::Defaults(),
                                 {nullptr, [&](const cleanup::ScanProgress&) { take(); }, nullptr});
    current = &session;
    session.Run(lister);
    take();
    report.roots.push_back({root, lister.RootRead()});
    if (lister.RootRead()) {
      ++rootsRead;
    } else if (lister.RootResult() == base::ListResult::kNotFolder) {
      error("未扫描：" + root + "（不是普通文件夹，而是文件、链接或交接点）");
    } else {
      error("无法读取文件夹：" + root);
    }
    unreadable += lister.Unreadable().size();
    for (std::string& f : lister.Unreadable()) report.unreadableFolders.push_back(std::move(f));
  }
  if (o.options[cleanup::kTempFiles])
    out(cleanup::ScanSummary(found.size(), report.foundKB) +
        cleanup::SkippedFoldersNote(unreadable));

  report.results.assign(found.size(), "found");
  OptionSet traces = o.options;
  traces[cleanup::kTempFiles] = false;
  auto clear = [&](int only) {
    OptionSet chosen{};
    for (int k = 0; k < cleanup::kOptionCount; ++k)
      chosen[k] = traces[k] && (only < 0 ? k != cleanup::kRecycleBin : k == only);
    host.ClearTraces(chosen, [&](int option) {
      report.traces.push_back({option, "done"});
      out(cleanup::CompletionLine(option));
    });
  };
  if (o.mode == Mode::kClean) {
    // Emptied first, the bin then holds exactly what this clean removed.
    clear(cleanup::kRecycleBin);
    // The page's clean: each file only while it is still the one the scan saw.
    const auto mode = o.permanent ? cleanup::CleanMode::kPermanent : cleanup::CleanMode::kRecycle;
    report.tally = cleanup::CleanFiles(
        host.Deleter(), &host.Bin(), mode, found, [&](size_t k, cleanup::DeleteResult r) {
          report.results[k] = ResultName(r);
          if (!cleanup::CleanTally::Done(r))
            error("未能清理：" + found[k].path + "（" + KeptReason(r) + "）");
          return true;
        });
    if (o.options[cleanup::kTempFiles]) out(cleanup::CleanReport(report.tally));
    clear(-1);
  } else {
    for (int k = 0; k < cleanup::kOptionCount; ++k)
      if (traces[k]) report.traces.push_back({k, "planned"});
  }

  report.facts.roots = plan.roots.size();
  report.facts.rootsRead = rootsRead;
  report.facts.filesKept = report.tally.failed;
  report.exitCode = ExitCodeFor(report.facts);
  return report;
}

}  // namespace cli
