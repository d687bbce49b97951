// The table of what is cleaned where, against a user profile laid out in a
// temporary folder as Windows 10/11 lays it out: what each item lists and
// removes, and that the user's own data is never listed nor removed.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "cleanup/BrowserProfiles.h"
#include "cleanup/CleanItems.h"
#include "cleanup/ItemScan.h"
#include "cleanup/KeepList.h"
#include "cleanup/KeepSites.h"
#include "cleanup/PosixItemSystem.h"
#include "cleanup/ItemOptions.h"
#include "cleanup/OptionList.h"
#include "cli/Run.h"

namespace cleanup {
namespace {

// Databases counted as one row per byte and "cleared" by emptying them; a
// locked one is left alone.
class PosixSystem : public PosixItemSystem {
 public:
  DbOutcome CountRows(BrowserDb, const std::string& path, const KeepSites&) override {
    if (locked.count(path)) return {DbResult::kLocked, 0};
    struct stat st;
    return {DbResult::kDone, lstat(path.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0};
  }
  DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) override {
    DbOutcome counted = CountRows(db, path, keep);
    if (counted.result == DbResult::kDone) std::ofstream(path, std::ios::trunc);
    cleared.push_back(path);
    return counted;
  }
  std::set<std::string> locked;
  std::vector<std::string> cleared;
};

constexpr uint64_t kDay = 24ull * 3600 * 1000000000;

class Profile {
 public:
  Profile() {
    char pattern[] = "/tmp/mirven-items-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~Profile() { std::system(("rm -rf '" + root_ + "'").c_str()); }
  std::string Path(const std::string& rel) const { return root_ + "/" + rel; }
  void Write(const std::string& rel, const std::string& text = "xx", int ageDays = 0) {
    std::string path = Path(rel);
    for (size_t cut = path.find('/', root_.size() + 1); cut != std::string::npos;
         cut = path.find('/', cut + 1))
      mkdir(path.substr(0, cut).c_str(), 0700);
    std::ofstream(path, std::ios::binary) << text;
    files_.insert(rel);
    if (ageDays) {
      struct timespec times[2] = {{time(nullptr) - ageDays * 86400, 0},
                                  {time(nullptr) - ageDays * 86400, 0}};
      utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
    }
  }
  bool Exists(const std::string& rel) const {
    struct stat st;
    return lstat(Path(rel).c_str(), &st) == 0;
  }
  const std::set<std::string>& Files() const { return files_; }
  std::string Rel(const std::string& path) const { return path.substr(root_.size() + 1); }
  ItemContext Context() const {
    ItemContext c;
    c.folders = {Path("Local"), Path("Roaming"), Path("Local/Temp")};
    c.oldBefore = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                            std::chrono::system_clock::now().time_since_epoch())
                                            .count()) -
                  7 * kDay;
    const std::string kept = Path("Local/Google/Chrome/User Data/Default/Cache/kept");
    c.keeps = [kept](const std::string& path) { return path.rfind(kept, 0) == 0; };
    return c;
  }

 private:
  std::string root_;
  std::set<std::string> files_;
};

const char kEdge[] = "Local/Microsoft/Edge/User Data/";
const char kFox[] = "Roaming/Mozilla/Firefox/";
const char kFoxLocal[] = "Local/Mozilla/Firefox/Profiles/abcd.default-release/";
const char kExplorer[] = "Local/Microsoft/Windows/Explorer/";

// Edge with two profiles (one named only in Local State), Chrome, Firefox,
// Windows' caches and a temporary folder with old and new entries; Brave is
// not installed.
void LayOut(Profile& p) {
  const std::string e = kEdge;
  p.Write(e + "Local State",
          R"({"browser":{"x":[1,2.5e3,true,null]},"profile":{"info_cache":)"
          R"({"Default":{"name":"个人"},"Work":{"name":"\u5de5\u4f5c"}},"last_used":"Default"}})");
  for (const char* f : {"Default/Cache/Cache_Data/data_0", "Default/Cache/Cache_Data/f_000001",
                        "Default/Code Cache/js/index", "Default/GPUCache/data_1",
                        "Default/Service Worker/CacheStorage/abc/0", "Work/Cache/Cache_Data/f_1",
                        "ShaderCache/data_0", "GrShaderCache/data_0", "Crashpad/reports/r1.dmp"})
    p.Write(e + f, "cache");
  for (const char* f : {"Default/Network/Cookies", "Work/Cookies", "Default/History",
                        "Default/Visited Links", "Default/Top Sites", "Work/History"})
    p.Write(e + f, "rows");
  // The user's own data and what no item names.
  for (const char* f :
       {"Default/Bookmarks", "Default/Login Data", "Default/Login Data-journal",
        "Default/Preferences", "Default/Secure Preferences", "Default/Web Data",
        "Default/Extensions/abc/1.0/manifest.json", "Default/Local Extension Settings/abc/0.log",
        "Default/Service Worker/ScriptCache/s", "Crashpad/settings.dat", "System Profile/x",
        "Default/Cache/Extensions/y", "Profile 7/Bookmarks"})
    p.Write(e + f, "own");
  p.Write("Local/Google/Chrome/User Data/Default/Cache/Cache_Data/f_9", "cache");
  p.Write("Local/Google/Chrome/User Data/Default/Cache/kept/f_10", "kept");
  p.Write("Local/Google/Chrome/User Data/Default/Network/Cookies", "rows");
  p.Write("Local/Google/Chrome/User Data/Default/Login Data", "own");

  p.Write(std::string(kFox) + "profiles.ini",
          "\xEF\xBB\xBF[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile1]\r\nName=evil\r\n"
          "IsRelative=1\r\nPath=Profiles/../../..\r\n\r\n[Profile0]\r\nName=default-release\r\n"
          "IsRelative=1\r\nPath=Profiles/abcd.default-release\r\nDefault=1\r\n\r\n"
          "[Install308046B0AF4A39CB]\r\nDefault=Profiles/abcd.default-release\r\n");
  const std::string fp = std::string(kFox) + "Profiles/abcd.default-release/";
  p.Write(fp + "cookies.sqlite", "rows");
  p.Write(fp + "places.sqlite", "rows");
  for (const char* f : {"logins.json", "key4.db", "prefs.js", "extensions/x@y.xpi",
                        "cache2/not-here", "bookmarkbackups/b.jsonlz4"})
    p.Write(fp + f, "own");
  p.Write(std::string(kFoxLocal) + "cache2/entries/E1", "cache");
  p.Write(std::string(kFoxLocal) + "startupCache/startupCache.8.little", "cache");

  p.Write(std::string(kExplorer) + "thumbcache_256.db", "thumb");
  p.Write(std::string(kExplorer) + "iconcache_32.db", "icon");
  p.Write(std::string(kExplorer) + "ExplorerStartupLog.etl", "own");
  p.Write("Local/CrashDumps/app.exe.123.dmp", "dump");
  p.Write("Local/Microsoft/Windows/WER/ReportArchive/AppCrash_a/Report.wer", "wer");
  p.Write("Local/Microsoft/Windows/WER/ReportQueue/AppCrash_b/Report.wer", "wer");
  p.Write("Local/D3DSCache/abc/x.idx", "shader");
  p.Write("Local/Temp/old.tmp", "old", 30);
  p.Write("Local/Temp/new.tmp", "new");
  p.Write("Local/Temp/setup-leftover/a/b.log", "old", 8);
  p.Write("Local/Temp/mixed/old.txt", "old", 10);
  p.Write("Local/Temp/mixed/new.txt", "new", 6);
}

struct Expected {
  const char* item;
  uint64_t profiles;
  std::vector<std::string> files;      // below the layout's root
  std::vector<std::string> databases;  // below the layout's root
};

std::vector<Expected> ExpectedItems() {
  const std::string e = kEdge, c = "Local/Google/Chrome/User Data/Default/",
                    f = std::string(kFox) + "Profiles/abcd.default-release/", fl = kFoxLocal;
  return {
      {"edge-cache",
       2,
       {e + "Default/Cache/Cache_Data/data_0", e + "Default/Cache/Cache_Data/f_000001",
        e + "Default/Code Cache/js/index", e + "Default/GPUCache/data_1",
        e + "Default/Service Worker/CacheStorage/abc/0", e + "Work/Cache/Cache_Data/f_1",
        e + "ShaderCache/data_0", e + "GrShaderCache/data_0", e + "Crashpad/reports/r1.dmp"},
       {}},
      {"edge-cookies", 2, {}, {e + "Default/Network/Cookies", e + "Work/Cookies"}},
      {"edge-history",
       2,
       {e + "Default/Visited Links", e + "Default/Top Sites"},
       {e + "Default/History", e + "Work/History"}},
      {"chrome-cache", 1, {c + "Cache/Cache_Data/f_9"}, {}},
      {"chrome-cookies", 1, {}, {c + "Network/Cookies"}},
      {"chrome-history", 0, {}, {}},
      {"brave-cache", 0, {}, {}},
      {"brave-cookies", 0, {}, {}},
      {"brave-history", 0, {}, {}},
      {"firefox-cache",
       1,
       {fl + "cache2/entries/E1", fl + "startupCache/startupCache.8.little"},
       {}},
      {"firefox-cookies", 1, {}, {f + "cookies.sqlite"}},
      {"firefox-history", 1, {}, {f + "places.sqlite"}},
      {"thumbnails",
       0,
       {std::string(kExplorer) + "thumbcache_256.db", std::string(kExplorer) + "iconcache_32.db"},
       {}},
      {"crash-reports",
       0,
       {"Local/CrashDumps/app.exe.123.dmp",
        "Local/Microsoft/Windows/WER/ReportArchive/AppCrash_a/Report.wer",
        "Local/Microsoft/Windows/WER/ReportQueue/AppCrash_b/Report.wer"},
       {}},
      {"shader-cache", 0, {"Local/D3DSCache/abc/x.idx"}, {}},
      {"old-temp",
       0,
       {"Local/Temp/old.tmp", "Local/Temp/setup-leftover/a/b.log", "Local/Temp/mixed/old.txt"},
       {}},
  };
}

TEST(CleanItems, EachItemListsExactlyItsOwnPartsOfALaidOutProfile) {
  Profile p;
  LayOut(p);
  PosixSystem system;
  ItemContext context = p.Context();
  const std::vector<Expected> expected = ExpectedItems();
  ASSERT_EQ(expected.size(), CleanItems().size());
  std::set<std::string> listed;
  for (const Expected& x : expected) {
    SCOPED_TRACE(x.item);
    const CleanItem* item = FindCleanItem(x.item);
    ASSERT_NE(item, nullptr);
    ItemScan scan = ScanItem(*item, system, context);
    std::set<std::string> files, dbs;
    for (const FoundFile& f : scan.found) files.insert(p.Rel(f.path));
    for (const FoundDatabase& d : scan.databases) dbs.insert(p.Rel(d.path));
    EXPECT_EQ(files, std::set<std::string>(x.files.begin(), x.files.end()));
    EXPECT_EQ(dbs, std::set<std::string>(x.databases.begin(), x.databases.end()));
    EXPECT_EQ(scan.profiles, x.profiles);
    EXPECT_EQ(scan.files, x.files.size());
    EXPECT_EQ(scan.Found(), !x.files.empty() || !x.databases.empty());
    listed.insert(files.begin(), files.end());
  }
  for (const std::string& rel : p.Files())
    if (NeverTouched(rel)) {
      EXPECT_EQ(listed.count(rel), 0u) << rel;
    }
  EXPECT_EQ(FindProfiles(*FindCleanItem("firefox-cache"), system, context.folders).size(), 1u);
  // Brave is not installed: its options do not show; the classic ones always do.
  const std::vector<bool> present = PresentOptions(system, context.folders);
  for (int k = 0; static_cast<size_t>(k) < OptionCount(); ++k)
    EXPECT_EQ(present[k], std::string(OptionProgram(k)) != "Brave") << OptionLabel(k);
  EXPECT_FALSE(ItemPresent(*FindCleanItem("old-temp"), system, {p.Path("Local"), "", ""}));
}

TEST(CleanItems, CleaningRemovesWhatWasListedAndNothingElse) {
  Profile p;
  LayOut(p);
  PosixSystem system;
  ItemContext context = p.Context();
  std::vector<ItemScan> scans;
  for (const CleanItem& item : CleanItems()) scans.push_back(ScanItem(item, system, context));
  // Between scan and clean, folders are swapped for links to folders
  // holding the same names, and a cache file for a folder: none of that
  // is touched.
  const std::string e = kEdge;
  p.Write("outside/Cache/Cache_Data/f_1", "mine");
  p.Write("outside/js/index", "mine");
  for (const char* swapped : {"Work/Cache", "Default/Code Cache/js"}) {
    const std::string path = p.Path(e + swapped);
    ASSERT_EQ(std::rename(path.c_str(), (path + ".old").c_str()), 0);
  }
  ASSERT_EQ(symlink(p.Path("outside/Cache").c_str(), p.Path(e + "Work/Cache").c_str()), 0);
  ASSERT_EQ(symlink(p.Path("outside/js").c_str(), p.Path(e + "Default/Code Cache/js").c_str()), 0);
  ASSERT_EQ(unlink(p.Path(e + "Default/GPUCache/data_1").c_str()), 0);
  ASSERT_EQ(mkdir(p.Path(e + "Default/GPUCache/data_1").c_str(), 0700), 0);
  std::set<std::string> removed;
  for (const Expected& x : ExpectedItems()) removed.insert(x.files.begin(), x.files.end());
  for (const char* kept :
       {"Work/Cache/Cache_Data/f_1", "Default/Code Cache/js/index", "Default/GPUCache/data_1"})
    removed.erase(e + kept);
  std::map<std::string, ItemResult> results;
  for (const ItemScan& scan : scans)
    results[scan.item->cliName] = CleanScanned(scan, system, context);

  for (const std::string& rel : p.Files()) EXPECT_EQ(p.Exists(rel), !removed.count(rel)) << rel;
  EXPECT_TRUE(p.Exists(e + "Work/Cache.old/Cache_Data/f_1"));
  EXPECT_TRUE(p.Exists(e + "Default/Code Cache/js.old/index"));
  // Cache folders stay; the sub-folders emptied go, with the temporary folder emptied.
  for (const char* rel : {"Default/Cache", "Default/Code Cache", "Default/GPUCache",
                          "Default/Service Worker/CacheStorage", "Crashpad/reports"})
    EXPECT_TRUE(p.Exists(e + rel)) << rel;
  for (const char* rel : {"Default/Cache/Cache_Data", "Default/Service Worker/CacheStorage/abc"})
    EXPECT_FALSE(p.Exists(e + rel)) << rel;
  EXPECT_FALSE(p.Exists("Local/Temp/setup-leftover"));
  EXPECT_TRUE(p.Exists("Local/Temp/mixed"));
  EXPECT_TRUE(p.Exists("Local/Microsoft/Windows/WER/ReportArchive"));

  EXPECT_EQ(results["edge-cache"].outcome, ItemOutcome::kDone);
  EXPECT_EQ(results["edge-cache"].files, 6u);
  EXPECT_EQ(results["edge-cache"].bytes, 6u * 5);
  EXPECT_EQ(results["edge-cache"].inUse, 1u);
  EXPECT_EQ(results["edge-cookies"].rows, 8u);
  EXPECT_EQ(results["brave-cache"].outcome, ItemOutcome::kNothing);
  EXPECT_EQ(ItemResultLine(*FindCleanItem("edge-cache"), results["edge-cache"]),
            "Microsoft Edge 缓存：已删除 6 个文件（30 B），1 个文件正在使用，已跳过。");
  EXPECT_EQ(ItemResultLine(*FindCleanItem("edge-history"), results["edge-history"]),
            "Microsoft Edge 历史记录：已删除 2 个文件（8 B），已清除 8 条记录。");
}

TEST(CleanItems, LockedDatabaseAndRunningBrowser) {
  Profile p;
  LayOut(p);
  PosixSystem system;
  ItemContext context = p.Context();
  system.locked.insert(p.Path(std::string(kEdge) + "Work/Cookies"));
  const CleanItem& cookies = *FindCleanItem("edge-cookies");
  const ItemScan scan = ScanItem(cookies, system, context);
  EXPECT_EQ(ItemScanLine(scan), "Microsoft Edge Cookies（2 个配置文件，4 条记录，数据库正被使用）");
  ItemResult locked = CleanScanned(scan, system, context);
  EXPECT_EQ(locked.outcome, ItemOutcome::kLocked);
  EXPECT_EQ(locked.rows, 4u);  // the other profile's rows went
  EXPECT_EQ(ItemResultLine(cookies, locked),
            "Microsoft Edge Cookies：数据库正被使用，已跳过；关闭 Microsoft Edge 后再清理。");

  // One process of a program is enough to skip all its items; the others go on.
  const std::vector<std::string> running = {"explorer.exe", "MSEDGE.EXE"};
  std::vector<const CleanItem*> chosen;
  for (const char* name : {"edge-cache", "edge-history", "chrome-cache", "thumbnails"})
    chosen.push_back(FindCleanItem(name));
  RunningSplit split = SplitRunning(chosen, running);
  ASSERT_EQ(split.skipped.size(), 2u);
  ASSERT_EQ(split.clean.size(), 2u);
  EXPECT_EQ(split.clean[0]->cliName, std::string("chrome-cache"));
  EXPECT_EQ(split.lines,
            std::vector<std::string>{"Microsoft Edge 正在运行，已跳过；关闭后再清理。"});
  system.cleared.clear();
  ItemResult skipped = ScanAndClean(*FindCleanItem("edge-history"), system, context, running);
  EXPECT_EQ(skipped.outcome, ItemOutcome::kSkippedRunning);
  EXPECT_STREQ(OutcomeName(skipped.outcome), "skipped-running");
  EXPECT_TRUE(system.cleared.empty());
  EXPECT_TRUE(p.Exists(std::string(kEdge) + "Default/Visited Links"));
}

// The items through the one run, as the command line drives it: a browser
// that runs is named once and left whole, the others are cleaned in the
// same run, and the run exits 1 with each item's result in the report.
TEST(CleanItems, TheCommandLineCleansItemsAndLeavesARunningBrowser) {
  Profile p;
  LayOut(p);
  PosixSystem system;
  KeepSites sites;
  // No junk files in this run: the deleter and the bin are never asked.
  class Host : public cli::Host, public FileDeleter, public RecycleBin, public OptionCleaner {
   public:
    Host(PosixSystem& s, ItemContext c, const KeepSites& sites)
        : system_(s), items_(s, std::move(c), &sites, [] {
            return std::vector<std::string>{"msedge.exe"};
          }) {}
    base::DirectoryLister& Lister() override { return system_.Lister(); }
    FileDeleter& Deleter() override { return *this; }
    DeleteResult DeleteIfUnchanged(const std::string&, const FileIdentity&) override {
      return DeleteResult::kRefused;
    }
    std::optional<DeleteResult> Recheck(const std::string&, const FileIdentity&) override {
      return DeleteResult::kRefused;
    }
    RecycleBin& Bin() override { return *this; }
    OptionCleaner& Cleaner() override { return *this; }
    bool HasBin(const std::string&) override { return false; }
    std::vector<bool> Recycle(const std::vector<std::string>& p) override {
      return std::vector<bool>(p.size(), false);
    }
    std::optional<OptionResult> Measure(int option) override { return items_.Measure(option); }
    OptionResult Clear(int option) override { return items_.Clear(option); }
    void Out(const std::string& line) override { out.push_back(line); }
    void Err(const std::string&) override {}
    std::vector<std::string> out;

   private:
    PosixSystem& system_;
    ItemOptions items_;
  } host(system, p.Context(), sites);

  cli::ParseResult parsed =
      cli::ParseArguments({"/clean", "/traces", "edge-cache,edge-history,chrome-cache"});
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  cli::RunReport report = cli::Execute(cli::MakePlan(parsed.options, "", nullptr), host);
  EXPECT_EQ(report.exitCode, cli::kExitFilesKept);
  std::map<std::string, std::string> results;
  for (const cli::RunReport::Trace& t : report.traces) results[OptionName(t.option)] = t.result;
  EXPECT_EQ(results, (std::map<std::string, std::string>{{"chrome-cache", "done"},
                                                          {"edge-cache", "skipped-running"},
                                                          {"edge-history", "skipped-running"}}));
  EXPECT_FALSE(p.Exists("Local/Google/Chrome/User Data/Default/Cache/Cache_Data/f_9"));
  EXPECT_TRUE(p.Exists(std::string(kEdge) + "Default/Cache/Cache_Data/data_0"));
  EXPECT_EQ(std::count(host.out.begin(), host.out.end(),
                       "Microsoft Edge 正在运行，已跳过；关闭后再清理。"),
            1);
  // The scan lists the items found and counts them in the summary.
  parsed = cli::ParseArguments({"/scan", "/traces", "all"});
  ASSERT_TRUE(parsed.ok()) << parsed.error;
  host.out.clear();
  report = cli::Execute(cli::MakePlan(parsed.options, "", nullptr), host);
  EXPECT_EQ(report.exitCode, cli::kExitDone);
  EXPECT_NE(std::find(host.out.begin(), host.out.end(), "Microsoft Edge Cookies（2 个配置文件，8 条记录）"),
            host.out.end());
}

// The real databases: an item finds the cookie database where this version
// of the browser keeps it and clears it through SQLite with the kept sites.
TEST(CleanItems, CookiesClearedThroughSqliteKeepTheKeptSites) {
  Profile p;
  p.Write("Local/Google/Chrome/User Data/Default/Preferences", "own");
  const std::string path = p.Path("Local/Google/Chrome/User Data/Default/Network/Cookies");
  p.Write("Local/Google/Chrome/User Data/Default/Network/placeholder");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(
      sqlite3_exec(db,
                   "CREATE TABLE cookies(host_key TEXT NOT NULL, name TEXT);"
                   "INSERT INTO cookies VALUES('.bank.example.cn','s'),('ads.example.com','t'),"
                   "('badexample.cn','u');",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  PosixItemSystem system;
  ItemContext context = p.Context();
  const KeepSites sites = KeepSites::Parse("bank.example.cn\n");
  context.sites = &sites;
  const CleanItem& cookies = *FindCleanItem("chrome-cookies");
  ItemScan scan = ScanItem(cookies, system, context);
  EXPECT_EQ(scan.rows, 2u);
  EXPECT_EQ(ItemScanLine(scan), "Google Chrome Cookies（1 个配置文件，2 条记录）");
  ItemResult result = CleanScanned(scan, system, context);
  EXPECT_EQ(result.outcome, ItemOutcome::kDone);
  EXPECT_EQ(result.rows, 2u);
  EXPECT_EQ(ScanItem(cookies, system, context).rows, 0u);
  EXPECT_EQ(CountRows(BrowserDb::kChromiumCookies, path, KeepSites{}).rows, 1u);
}

TEST(CleanItems, TableNamesNoneOfTheUsersOwnDataAndTextsReadWell) {
  std::set<std::string> names;
  for (const CleanItem& item : CleanItems()) {
    EXPECT_TRUE(names.insert(item.cliName).second) << item.cliName;
    EXPECT_EQ(item.ticked, item.kind != ItemKind::kCookies && item.kind != ItemKind::kHistory);
    EXPECT_EQ(item.processes.empty(), std::string(item.program) == "Windows") << item.cliName;
    for (const ItemPart& part : item.parts) {
      if (part.how == PartHow::kRows) continue;  // rows leave the file in place
      EXPECT_FALSE(NeverTouched(std::string(item.rootPath) + "\\" + part.path)) << part.path;
      EXPECT_FALSE(NeverTouched(part.olderPath)) << part.olderPath;
    }
  }
  struct Case {
    const char* path;
    bool never;
  } cases[] = {{"Default\\Bookmarks", true},      {"Default/login data-JOURNAL", true},
               {"Default\\Web Data", true},       {"p\\key4.db", true},
               {"x\\Extensions\\a\\b.js", true},  {"Local State", true},
               {"Default\\Cache\\data_0", false}, {"Default\\Bookmarks Cache", false},
               {"Default\\History", false},       {"cache2\\entries\\E1", false}};
  for (const Case& c : cases) EXPECT_EQ(NeverTouched(c.path), c.never) << c.path;
  // GetTempPathW falls back to the profile or the Windows folder.
  const std::vector<std::string> own = {"C:\\Users\\me", "C:\\Windows"};
  for (const char* temp :
       {"C:\\Users\\me", "c:\\users\\ME\\", "C:\\Users", "C:\\", "C:", "", "Temp"})
    EXPECT_FALSE(UsableTempFolder(temp, own)) << temp;
  for (const char* temp : {"C:\\Users\\me\\AppData\\Local\\Temp", "C:\\Windows\\Temp", "D:\\Temp"})
    EXPECT_TRUE(UsableTempFolder(temp, own)) << temp;
  // Files are checked against the keep-list only in folders it may keep something in.
  KeepList keep;
  ASSERT_TRUE(keep.Add("C:\\Users\\me\\Chrome\\Default\\Cache\\kept"));
  ItemContext context;
  UseKeepList(context, keep);
  for (const char* folder :
       {"C:\\Users\\me\\Chrome\\Default\\Cache", "c:\\users\\ME\\chrome\\default\\cache\\KEPT\\sub",
        "C:\\Users\\me\\Chrome\\Default\\Cache\\kept"})
    EXPECT_TRUE(context.keepsWithin(folder)) << folder;
  for (const char* folder :
       {"C:\\Users\\me\\Chrome\\Default\\Code Cache", "C:\\Users\\me\\Chrome\\Default\\Cach",
        "C:\\Users\\me\\Chrome\\Default\\Cache\\kep"})
    EXPECT_FALSE(context.keepsWithin(folder)) << folder;
  EXPECT_TRUE(context.keeps("C:\\Users\\me\\Chrome\\Default\\Cache\\kept\\f_1"));
  EXPECT_TRUE(NameMatches("thumbcache_*.db", "THUMBCACHE_256.DB"));
  EXPECT_FALSE(NameMatches("thumbcache_*.db", "thumbcache_256.db-wal"));
  EXPECT_TRUE(NameMatches("a*b*c", "aXbYbc"));

  ItemScan scan;
  scan.item = FindCleanItem("edge-cache");
  scan.profiles = 2;
  scan.files = 2310;
  scan.bytes = 130547712;  // 124.5 MB
  EXPECT_EQ(ItemScanLine(scan), "Microsoft Edge 缓存（2 个配置文件，2,310 个文件）  124.5 MB");
  scan.item = FindCleanItem("thumbnails");
  scan.profiles = 0;
  scan.files = 1;
  scan.bytes = 1023;
  EXPECT_EQ(ItemScanLine(scan), "Windows 缩略图缓存（1 个文件）  1023 B");
  EXPECT_EQ(FormatItemSize(uint64_t{3} << 30), "3.0 GB");
  EXPECT_EQ(FormatItemSize(1048575), "1.0 MB");
}

TEST(BrowserProfiles, LocalStateAndProfilesIni) {
  struct Json {
    const char* text;
    std::optional<std::vector<std::string>> names;
  } json[] = {
      {R"({"profile":{"info_cache":{"Default":{},"Profile 3":{"a":[{}]}}}})",
       std::vector<std::string>{"Default", "Profile 3"}},
      {R"( {"profile" : {"info_cache" : {} } } )", std::vector<std::string>{}},
      {R"({"profile":{"info_cache":{"Default":{}}})", std::nullopt},  // cut short
      {R"({"profile":{"other":1}})", std::nullopt},                   // no info_cache
      {R"({"profile":{"info_cache":{"\ud83d\ude00":1}}})",
       std::vector<std::string>{"\xF0\x9F\x98\x80"}},
      {R"({"profile":{"info_cache":{"\ud83d":1}}})", std::nullopt},  // half a pair
      {R"({"profile":{"info_cache":{"a":1}}} trailing)", std::nullopt},
      {"", std::nullopt},
      {"[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]",
       std::nullopt},
  };
  for (const Json& j : json) EXPECT_EQ(LocalStateProfiles(j.text), j.names) << j.text;
  std::string deep = R"({"x":)" + std::string(200, '[') + std::string(200, ']') + "}";
  EXPECT_EQ(LocalStateProfiles(deep), std::nullopt);

  std::vector<FirefoxProfile> ini = ParseProfilesIni(
      "[Profile0]\nPath=Profiles/a.default\nIsRelative=1\n"
      "[profile1]\npath = D:\\Firefox\\mine\nisrelative=0\n"
      "[Profile2]\nName=no path\n"
      "[Profile3]\nPath=C:\\whole\n"
      "[InstallABC]\nPath=Profiles/not-a-profile\nIsRelative=1\n");
  ASSERT_EQ(ini.size(), 3u);
  EXPECT_EQ(ini[0].path, "Profiles/a.default");
  EXPECT_TRUE(ini[0].relative);
  EXPECT_EQ(ini[1].path, "D:\\Firefox\\mine");
  EXPECT_FALSE(ini[1].relative);
  EXPECT_FALSE(ini[2].relative);
  for (const char* bad : {"", ".", "..", "a\\b", "a/b", "C:"}) EXPECT_FALSE(PlainFolderName(bad));
  EXPECT_TRUE(PlainFolderName("Profile 1"));
}

}  // namespace
}  // namespace cleanup
