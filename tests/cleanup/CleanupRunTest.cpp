// The one cleanup run over fakes, as the page drives it: the roots, the
// keep-list, what is walked, and the clean's order and results by option.
#include "cleanup/CleanupRun.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace cleanup {
namespace {

using Strings = std::vector<std::string>;

// Folders by path; a folder not in the map cannot be read, one in `links`
// is a link. Everything done to files, the bin and the options goes to
// `log` in order.
class Fakes : public DirectoryLister, public FileDeleter, public RecycleBin, public OptionCleaner {
 public:
  std::map<std::string, std::vector<DirEntry>> folders;
  std::set<std::string> links;
  std::map<int, OptionResult> results;  // by option; done when absent
  std::optional<OptionResult> binHolds;
  Strings log;

  void File(const std::string& folder, const std::string& name) {
    folders[folder].push_back({name, false, false, 4096, 7});
  }
  void Folder(const std::string& parent, const std::string& name) {
    folders[parent].push_back({name, true});
    folders[parent + "\\" + name];
  }
  ListResult Read(const std::string& folder, uint64_t, std::vector<DirEntry>& entries) override {
    if (links.count(folder)) return ListResult::kNotFolder;
    auto it = folders.find(folder);
    if (it == folders.end()) return ListResult::kUnreadable;
    entries = it->second;
    return ListResult::kListed;
  }
  char Separator() const override { return '\\'; }
  DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity&) override {
    log.push_back("delete " + path);
    return DeleteResult::kDeleted;
  }
  std::optional<DeleteResult> Recheck(const std::string&, const FileIdentity&) override {
    return std::nullopt;
  }
  bool HasBin(const std::string&) override { return true; }
  std::vector<bool> Recycle(const std::vector<std::string>& paths) override {
    for (const std::string& p : paths) log.push_back("recycle " + p);
    return std::vector<bool>(paths.size(), true);
  }
  std::optional<OptionResult> Measure(int option) override {
    if (option == kRecycleBin) return binHolds;
    auto it = results.find(option);
    return it == results.end() ? std::nullopt : std::optional<OptionResult>(it->second);
  }
  OptionResult Clear(int option) override {
    log.push_back("clear " + std::string(OptionName(option)));
    auto it = results.find(option);
    return it == results.end() ? OptionResult{} : it->second;
  }
};

OptionSet Choose(std::initializer_list<int> ids) {
  OptionSet set = NoOptions();
  for (int id : ids) set[id] = true;
  return set;
}

// What the page's sink hears, and the files it takes as the list does.
struct Heard {
  Strings lines, errors, options;
  std::vector<FoundFile> taken;
  bool agree = true;
  Strings asked;
};

RunSink SinkFor(Heard& h, CleanupRun*& run) {
  RunSink sink;
  sink.scanned = [&h, &run] {
    for (FoundFile& f : run->Session().TakeSlice(SIZE_MAX)) h.taken.push_back(std::move(f));
  };
  sink.line = [&h](const std::string& l) { h.lines.push_back(l); };
  sink.error = [&h](const std::string& l) { h.errors.push_back(l); };
  sink.option = [&h](int option, const OptionResult& r) {
    h.options.push_back(std::string(OptionName(option)) + "=" + r.Result());
  };
  sink.confirmEmptyBin = [&h](const OptionResult& held) {
    h.asked.push_back(EmptyBinQuestion(held.files, held.bytes));
    return h.agree;
  };
  return sink;
}

Strings Paths(const std::vector<FoundFile>& files) {
  Strings paths;
  for (const FoundFile& f : files) paths.push_back(f.path);
  return paths;
}

TEST(CleanupRun, RootsAreNormalisedOnceAndNestedOnesGoWithTheirParent) {
  EXPECT_EQ(NormalizeRoots({R"(\\?\C:\x\)", R"(c:\X)", R"(C:\x\y)", R"(C:/xy/)", R"(\\?\D:\)",
                            R"(D:\sub)", R"(\\?\UNC\srv\share\a)", R"(\\SRV\Share)"}),
            (Strings{R"(C:\x)", R"(C:\xy)", "D:", R"(\\SRV\Share)"}));
  EXPECT_EQ(NormalizeRoots({""}), Strings{});
}

TEST(CleanupRun, KeptFilesAreNeverListedNorCleanedAndLinksAndSystemFoldersAreNotWalked) {
  Fakes fs;
  const std::string root = R"(C:\users\me\kt)";
  fs.File(root, "kept.tmp");
  fs.File(root, "junk.tmp");
  fs.Folder(root, "held");
  fs.File(root + "\\held", "inner.tmp");
  // A drive's bin, its index files look like junk; never entered.
  fs.Folder(root, "$Recycle.Bin");
  fs.File(root + "\\$Recycle.Bin", "$IABC.tmp");
  fs.Folder(root, "System Volume Information");
  fs.File(root + "\\System Volume Information", "x.tmp");
  fs.links.insert(R"(C:\link)");
  KeepList keep;
  ASSERT_TRUE(keep.Add(R"(C:\Users\me\KT\kept.tmp)"));
  ASSERT_TRUE(keep.Add(root + "\\held"));

  Heard h;
  CleanupRun* current = nullptr;
  CleanupRun run({R"(\\?\)" + root, root, R"(C:\link)", R"(C:\gone)"}, Choose({kTempFiles}), keep,
                 SinkFor(h, current));
  current = &run;
  run.Scan(fs, fs);
  EXPECT_EQ(Paths(h.taken), Strings{root + "\\junk.tmp"});
  EXPECT_EQ(run.Roots(), (Strings{root, R"(C:\link)", R"(C:\gone)"}));
  EXPECT_EQ(run.RootsRead(), 1u);
  EXPECT_EQ(h.errors, (Strings{RootNotFolderLine(R"(C:\link)"), RootUnreadableLine(R"(C:\gone)")}));

  run.Clean(h.taken, CleanMode::kRecycle, fs, &fs, fs);
  EXPECT_EQ(fs.log, Strings{"recycle " + root + "\\junk.tmp"});
}

TEST(CleanupRun, CleanEmptiesTheAgreedBinFirstThenFilesReportAndOptionsByIdWithTheirResults) {
  Fakes fs;
  fs.binHolds = OptionResult{};
  fs.binHolds->files = 3;
  fs.binHolds->bytes = 5u << 20;
  OptionResult running;
  running.state = OptionResult::State::kSkipped;
  running.reason = "running";
  running.line = "浏览器正在运行，已跳过";
  fs.results[kCookies] = running;
  fs.results[kClipboard].state = OptionResult::State::kFailed;
  const std::vector<FoundFile> files{{R"(C:\t\a.tmp)", {1, 1}, 1}, {R"(C:\t\b.tmp)", {1, 1}, 1}};

  Heard h;
  CleanupRun* current = nullptr;
  CleanupRun run({}, Choose({kTypedUrls, kCookies, kRecycleBin, kClipboard, kTempFiles}), {},
                 SinkFor(h, current));
  run.Clean(files, CleanMode::kRecycle, fs, &fs, fs);
  EXPECT_EQ(h.asked, Strings{"将清空回收站中的 3 个文件（5MB），无法恢复。确定吗？"});
  EXPECT_EQ(fs.log, (Strings{"clear recycle", R"(recycle C:\t\a.tmp)", R"(recycle C:\t\b.tmp)",
                             "clear clipboard", "clear cookies", "clear recent"}));
  EXPECT_EQ(h.options,
            (Strings{"recycle=done", "clipboard=failed", "cookies=skipped-running", "recent=done"}));
  EXPECT_EQ(h.lines, (Strings{CompletionLine(kRecycleBin), h.lines[1], "浏览器正在运行，已跳过",
                              CompletionLine(kTypedUrls)}));
  EXPECT_NE(h.lines[1].find("移入回收站"), std::string::npos);

  // Declined: the bin stays, the rest goes on. An empty bin is not asked about.
  for (uint64_t held : {3u, 0u}) {
    Fakes again;
    again.binHolds = OptionResult{};
    again.binHolds->files = held;
    Heard no;
    no.agree = false;
    CleanupRun declined({}, Choose({kRecycleBin, kTempFiles}), {}, SinkFor(no, current));
    declined.Clean(files, CleanMode::kRecycle, again, &again, again);
    EXPECT_EQ(again.log.size(), 2u) << held;
    EXPECT_EQ(no.asked.size(), held ? 1u : 0u);
    EXPECT_EQ(no.options, Strings{held ? "recycle=skipped-declined" : "recycle=nothing"});
  }
}

}  // namespace
}  // namespace cleanup
