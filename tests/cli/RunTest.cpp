// A command-line run over a fake file system: the plan, what is printed,
// the exit code and the JSON report, read back by Python's own parser.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "cli/Run.h"

namespace cli {
namespace {

using Strings = std::vector<std::string>;

// Folders by full path ("\" separated); a folder not in the map cannot be read.
class FakeFiles : public Host,
                  public base::DirectoryLister,
                  public cleanup::FileDeleter,
                  public cleanup::RecycleBin,
                  public cleanup::OptionCleaner {
 public:
  std::map<std::string, std::vector<base::DirEntry>> folders;
  std::set<std::string> refused, deleted, recycled;
  Strings out, err;
  std::vector<int> cleared;

  void File(const std::string& folder, const std::string& name, uint64_t size) {
    folders[folder].push_back({name, false, false, size, 7});
  }
  void Folder(const std::string& parent, const std::string& name) {
    folders[parent].push_back({name, true});
    folders[parent + "\\" + name];
  }

  base::ListResult Read(const std::string& folder, uint64_t,
                           std::vector<base::DirEntry>& entries) override {
    auto it = folders.find(folder);
    if (it == folders.end()) return base::ListResult::kUnreadable;
    entries = it->second;
    return base::ListResult::kListed;
  }
  char Separator() const override { return '\\'; }
  cleanup::DeleteResult DeleteIfUnchanged(const std::string& path,
                                          const cleanup::FileIdentity&) override {
    if (refused.count(path)) return cleanup::DeleteResult::kRefused;
    deleted.insert(path);
    return cleanup::DeleteResult::kDeleted;
  }
  std::optional<cleanup::DeleteResult> Recheck(const std::string& path,
                                               const cleanup::FileIdentity&) override {
    if (refused.count(path)) return cleanup::DeleteResult::kRefused;
    return std::nullopt;
  }
  bool HasBin(const std::string&) override { return true; }
  std::vector<bool> Recycle(const std::vector<std::string>& paths) override {
    recycled.insert(paths.begin(), paths.end());
    cleared.push_back(-1);  // the order of the bin's work among the traces
    return std::vector<bool>(paths.size(), true);
  }

  base::DirectoryLister& Lister() override { return *this; }
  cleanup::FileDeleter& Deleter() override { return *this; }
  cleanup::RecycleBin& Bin() override { return *this; }
  cleanup::OptionCleaner& Cleaner() override { return *this; }
  std::optional<cleanup::OptionResult> Measure(int) override { return std::nullopt; }
  cleanup::OptionResult Clear(int option) override {
    cleared.push_back(option);
    return {};
  }
  void Out(const std::string& line) override { out.push_back(line); }
  void Err(const std::string& line) override { err.push_back(line); }
};

Plan PlanFor(const Strings& args) {
  ParseResult parsed = ParseArguments(args);
  EXPECT_TRUE(parsed.ok()) << parsed.error;
  return MakePlan(parsed.options, R"(C:\Users\me)", [](const std::string& s) { return s; });
}

// The report as Python reads it: one line per file (path in hex, size,
// result), then the other fields.
Strings ReadBack(const std::string& json) {
  const std::string file = ::testing::TempDir() + "cli-report-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                           ".json";
  std::ofstream(file, std::ios::binary) << json;
  const std::string cmd =
      "/usr/bin/python3 -c 'import json,sys\n"
      "r=json.load(open(sys.argv[1],encoding=\"utf-8\"))\n"
      "for f in r[\"files\"]: print(f[\"path\"].encode().hex(), f[\"size\"], f[\"result\"])\n"
      "print(r[\"mode\"], r[\"permanent\"], \",\".join(r[\"options\"]), r[\"exitCode\"])\n"
      "print(*[x[\"path\"].encode().hex()+\"=\"+str(x[\"read\"]) for x in r[\"roots\"]])\n"
      "print(*[x.encode().hex() for x in r[\"unreadableFolders\"]])\n"
      "print(*[x[\"name\"]+\"=\"+x[\"result\"] for x in r[\"traces\"]])\n"
      "t=r[\"totals\"]; print(t[\"files\"], t[\"bytes\"], t[\"recycled\"], t[\"kept\"], "
      "len(r[\"errors\"]))' " +
      file;
  Strings lines;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    while (std::fgets(buf, sizeof buf, p)) {
      std::string line = buf;
      if (!line.empty() && line.back() == '\n') line.pop_back();
      lines.push_back(line);
    }
    pclose(p);
  }
  std::remove(file.c_str());
  return lines;
}

std::string Hex(const std::string& s) {
  static const char digits[] = "0123456789abcdef";
  std::string h;
  for (unsigned char c : s) h += {digits[c >> 4], digits[c & 15]};
  return h;
}

TEST(CliRun, PlansEachRootOnce) {
  ParseResult p =
      ParseArguments({"/scan", R"(C:\a\b)", R"(c:\A)", R"(C:\ab)", R"(C:\a)", "D:", R"(D:\x)"});
  ASSERT_TRUE(p.ok());
  auto upper = [](const std::string& s) { return s; };
  EXPECT_EQ(MakePlan(p.options, "P", upper).roots, (Strings{R"(c:\A)", R"(C:\ab)", "D:"}));
  EXPECT_EQ(MakePlan(ParseArguments({"/scan"}).options, "P", upper).roots, Strings{"P"});
  // Without "temp" nothing is walked.
  EXPECT_TRUE(
      MakePlan(ParseArguments({"/clean", "/traces", "cookies"}).options, "P", upper).roots.empty());
}

TEST(CliRun, ScanListsTheJunkAndReportsItExactly) {
  FakeFiles fs;
  const std::string root = R"(C:\Users\me)";
  const std::string odd = "报告 \"引号\" \\ 反斜杠.tmp";
  fs.File(root, "keep.txt", 10);
  fs.File(root, odd, 4096);
  fs.Folder(root, "缓存");
  fs.File(root + "\\缓存", "a.tmp", 1 << 20);
  fs.folders[root].push_back({"locked", true});  // listed, but cannot be read
  fs.File(root, "nl\n.tmp", 1);

  RunReport r = Execute(PlanFor({"/scan", "/traces", "temp,cookies"}), fs);
  EXPECT_EQ(r.exitCode, kExitDone);
  EXPECT_TRUE(fs.cleared.empty());
  EXPECT_TRUE(fs.deleted.empty());
  ASSERT_EQ(fs.out.size(), 4u);
  EXPECT_EQ(fs.out[0], root + "\\" + odd);
  EXPECT_EQ(fs.out[3],
            "扫描已完成！本次共扫描出 3 个垃圾文件，立即清除可帮您节省 1MB 磁盘空间。"
            "（1 个文件夹无法读取，已跳过）");

  Strings back = ReadBack(ReportJson(r));
  ASSERT_EQ(back.size(), 8u) << ReportJson(r);
  EXPECT_EQ(back[0], Hex(root + "\\" + odd) + " 4096 found");
  EXPECT_EQ(back[1], Hex(root + "\\缓存\\a.tmp") + " 1048576 found");
  EXPECT_EQ(back[2], Hex(root + "\\nl\n.tmp") + " 1 found");
  EXPECT_EQ(back[3], "scan False temp,cookies 0");
  EXPECT_EQ(back[4], Hex(root) + "=True");
  EXPECT_EQ(back[5], Hex(root + "\\locked"));
  EXPECT_EQ(back[6], "cookies=planned");
  EXPECT_EQ(back[7], "3 1052673 0 0 0");

  // Bytes that are not UTF-8 still give a report that parses.
  r.files[0].path = "bad\xff\xc0name";
  EXPECT_EQ(ReadBack(ReportJson(r))[0].substr(0, 6), Hex("bad"));
}

TEST(CliRun, CleanKeepsWhatItCannotDeleteAndSaysSo) {
  FakeFiles fs;
  fs.File(R"(D:\t)", "a.tmp", 2048);
  fs.File(R"(D:\t)", "held.tmp", 2048);
  fs.File(R"(D:\t)", "b.txt", 2048);
  fs.refused.insert(R"(D:\t\held.tmp)");

  RunReport r =
      Execute(PlanFor({"/clean", R"(D:\t)", "/quiet", "/traces", "temp,recycle,recent"}), fs);
  EXPECT_EQ(r.exitCode, kExitFilesKept);
  EXPECT_EQ(fs.recycled, (std::set<std::string>{R"(D:\t\a.tmp)"}));
  EXPECT_TRUE(fs.deleted.empty());
  // The bin is emptied before the files go in, as on the page.
  EXPECT_EQ(fs.cleared, (std::vector<int>{cleanup::kRecycleBin, -1, cleanup::kTypedUrls}));
  EXPECT_TRUE(fs.out.empty());  // quiet: only the errors
  EXPECT_EQ(fs.err, Strings{R"(未能清理：D:\t\held.tmp（正在使用或拒绝访问）)"});

  Strings back = ReadBack(ReportJson(r));
  ASSERT_EQ(back.size(), 7u);
  EXPECT_EQ(back[0], Hex(R"(D:\t\a.tmp)") + " 2048 recycled");
  EXPECT_EQ(back[1], Hex(R"(D:\t\held.tmp)") + " 2048 refused");
  EXPECT_EQ(back[2], "clean False recycle,temp,recent 1");
  EXPECT_EQ(back[5], "recycle=done recent=done");
  EXPECT_EQ(back[6], "2 4096 1 1 1");

  FakeFiles again;
  again.File(R"(D:\t)", "a.tmp", 1);
  Execute(PlanFor({"/clean", R"(D:\t)", "/permanent"}), again);
  EXPECT_EQ(again.deleted, (std::set<std::string>{R"(D:\t\a.tmp)"}));
  EXPECT_TRUE(again.recycled.empty());
  EXPECT_EQ(again.out.back(), "共删除 1 个垃圾文件，释放 0KB 磁盘空间，0 个文件未能删除。");
}

// The scheduled clean runs unattended: what the user keeps stays, and
// without a readable keep-list no file is cleaned at all.
TEST(CliRun, CleanHonoursTheKeepListAndCleansNothingWithoutIt) {
  for (bool unknown : {false, true}) {
    FakeFiles fs;
    const std::string root = R"(C:\users\me\kt)";
    fs.File(root, "kept.tmp", 1);
    fs.File(root, "junk.tmp", 1);
    fs.Folder(root, "held");
    fs.File(root + "\\held", "a.tmp", 1);
    Plan plan = PlanFor({"/clean", root});
    ASSERT_TRUE(plan.keep.Add(root + "\\kept.tmp"));
    ASSERT_TRUE(plan.keep.Add(root + "\\held"));
    plan.keepUnknown = unknown;
    RunReport r = Execute(plan, fs);
    EXPECT_EQ(fs.out.front(), root + "\\junk.tmp");
    EXPECT_EQ(r.files.size(), 1u);
    EXPECT_EQ(fs.recycled, unknown ? std::set<std::string>{}
                                   : std::set<std::string>{root + "\\junk.tmp"});
    EXPECT_EQ(r.exitCode, unknown ? kExitFilesKept : kExitDone);
  }
}

TEST(CliRun, ExitCodes) {
  FakeFiles fs;
  fs.File(R"(D:\ok)", "a.txt", 1);
  // One root of two can be read: the run goes on.
  EXPECT_EQ(Execute(PlanFor({"/scan", R"(D:\ok)", R"(D:\gone)"}), fs).exitCode, kExitDone);
  EXPECT_EQ(fs.err, Strings{R"(无法读取文件夹：D:\gone)"});
  EXPECT_EQ(Execute(PlanFor({"/clean", R"(D:\gone)"}), fs).exitCode, kExitNoRoot);
  // No root at all, only traces: nothing unreadable.
  EXPECT_EQ(Execute(PlanFor({"/clean", "/traces", "cookies"}), fs).exitCode, kExitDone);

  const std::pair<ExitFacts, int> rules[] = {
      {{}, kExitDone},
      {{false, false, 2, 1, 0, false}, kExitDone},
      {{false, false, 1, 1, 3, false}, kExitFilesKept},
      {{false, false, 1, 1, 3, true}, kExitFailed},
      {{false, false, 0, 0, 0, false, 1}, kExitFilesKept},
      {{false, false, 2, 0, 0, true}, kExitNoRoot},
      {{false, true, 2, 0, 0, false}, kExitBusy},
      {{true, true, 1, 0, 1, true}, kExitBadArguments},
  };
  for (const auto& [facts, code] : rules) EXPECT_EQ(ExitCodeFor(facts), code);
}

}  // namespace
}  // namespace cli
