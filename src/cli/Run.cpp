#include "cli/Run.h"

#include <cstdint>

#include "cleanup/CleanupText.h"

namespace cli {

namespace {

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
  if (f.filesKept > 0 || f.optionsLeft > 0) return kExitFilesKept;
  return kExitDone;
}

Plan MakePlan(const Options& options, const std::string& profile,
              const std::function<std::string(const std::string&)>& absolute) {
  Plan plan{options, {}, {}, false};
  if (!options.options[cleanup::kTempFiles]) return plan;
  std::vector<std::string> roots;
  for (const std::string& typed : options.roots) roots.push_back(absolute(typed));
  if (options.roots.empty() && !profile.empty()) roots.push_back(profile);
  plan.roots = cleanup::NormalizeRoots(roots);
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

  // The files found are printed a few times a second, as the page shows them.
  std::vector<cleanup::FoundFile>& found = report.files;
  cleanup::CleanupRun* current = nullptr;
  auto take = [&] {
    for (auto slice = current->Session().TakeSlice(SIZE_MAX); !slice.empty();
         slice = current->Session().TakeSlice(SIZE_MAX))
      for (cleanup::FoundFile& f : slice) {
        out(f.path);
        report.foundBytes += f.identity.size;
        report.foundKB += f.kb;
        found.push_back(std::move(f));
      }
  };
  // One entry an option: what the scan measured, then what the clean did.
  auto trace = [&](int option, const cleanup::OptionResult& r, const std::string& result) {
    for (RunReport::Trace& t : report.traces)
      if (t.option == option) return void(t = {option, result, r.bytes, r.files, r.rows});
    report.traces.push_back({option, result, r.bytes, r.files, r.rows});
  };
  bool cleaning = false;
  cleanup::RunSink sink;
  sink.progress = [&](const cleanup::ScanProgress&) { take(); };
  sink.scanned = take;
  sink.line = out;
  sink.error = error;
  sink.option = [&](int option, const cleanup::OptionResult& r) {
    if (cleaning) {
      trace(option, r, r.Result());
      // A program left alone, a database locked, a part that failed: the
      // user has to act, as for a file that could not be cleaned.
      if (r.state == cleanup::OptionResult::State::kFailed ||
          (r.state == cleanup::OptionResult::State::kSkipped && r.reason != "declined"))
        ++report.facts.optionsLeft;
    } else {
      trace(option, r, "found");
      if (!r.line.empty()) out(r.line);
    }
  };
  sink.file = [&](size_t k, cleanup::DeleteResult r) {
    report.results[k] = ResultName(r);
    if (!cleanup::CleanTally::Done(r))
      error("未能清理：" + found[k].path + "（" + KeptReason(r) + "）");
  };
  cleanup::CleanupRun run(plan.roots, o.options, plan.keep, sink);
  current = &run;
  run.Scan(host.Lister(), host.Cleaner());
  if (o.options[cleanup::kTempFiles]) out(run.Summary());
  report.unreadableFolders = run.Session().UnreadableFolders();
  const std::vector<base::ListResult> results = run.Session().RootResults();
  for (size_t k = 0; k < run.Roots().size(); ++k)
    report.roots.push_back(
        {run.Roots()[k], k < results.size() && results[k] == base::ListResult::kListed});

  report.results.assign(found.size(), "found");
  if (o.mode == Mode::kClean) {
    cleaning = true;
    const auto mode = o.permanent ? cleanup::CleanMode::kPermanent : cleanup::CleanMode::kRecycle;
    // Without the keep-list nobody can tell which files the user keeps.
    static const std::vector<cleanup::FoundFile> none;
    report.tally = run.Clean(plan.keepUnknown ? none : found, mode, host.Deleter(), &host.Bin(),
                             host.Cleaner());
    if (plan.keepUnknown && !found.empty()) {
      report.tally.failed = found.size();
      error("未清理任何文件：无法读取保留列表文件 keep.txt，不知道哪些文件需要保留。");
    }
  } else {
    for (size_t k = 0; k < o.options.size(); ++k) {
      const int option = static_cast<int>(k);
      bool measured = false;
      for (const RunReport::Trace& t : report.traces) measured = measured || t.option == option;
      if (o.options[k] && option != cleanup::kTempFiles && !measured)
        report.traces.push_back({option, "planned"});
    }
  }

  report.facts.roots = run.Roots().size();
  report.facts.rootsRead = run.RootsRead();
  report.facts.filesKept = report.tally.failed;
  report.exitCode = ExitCodeFor(report.facts);
  return report;
}

}  // namespace cli
