#include "cleanup/CleanItems.h"

#include <algorithm>
#include <deque>

namespace cleanup {

namespace {

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

using How = PartHow;
using Base = PartBase;

// The parts of each family of browsers.
std::vector<ItemPart> ChromiumCache() {
  return {{Base::kProfile, "Cache"},          {Base::kProfile, "Code Cache"},
          {Base::kProfile, "GPUCache"},       {Base::kProfile, "Service Worker\\CacheStorage"},
          {Base::kRoot, "ShaderCache"},       {Base::kRoot, "GrShaderCache"},
          {Base::kRoot, "GraphiteDawnCache"}, {Base::kRoot, "Crashpad\\reports"}};
}
std::vector<ItemPart> ChromiumCookies() {
  ItemPart rows{Base::kProfile, "Network\\Cookies", How::kRows};
  rows.db = BrowserDb::kChromiumCookies;
  rows.olderPath = "Cookies";
  return {rows};
}
std::vector<ItemPart> ChromiumHistory() {
  ItemPart rows{Base::kProfile, "History", How::kRows};
  rows.db = BrowserDb::kChromiumHistory;
  std::vector<ItemPart> parts{rows};
  for (size_t i = 0; i < kChromiumHistoryCopyCount; ++i)
    parts.push_back({Base::kProfile, kChromiumHistoryCopies[i], How::kWholeFile});
  return parts;
}

struct Browser {
  const char* program;
  const char* prefix;  // of the command-line names
  const char* userData;
  const char* process;
};
constexpr Browser kChromiumBrowsers[] = {
    {"Microsoft Edge", "edge", "Microsoft\\Edge\\User Data", "msedge.exe"},
    {"Google Chrome", "chrome", "Google\\Chrome\\User Data", "chrome.exe"},
    {"Brave", "brave", "BraveSoftware\\Brave-Browser\\User Data", "brave.exe"},
};

// The names are stable: the table lives as long as the program.
const char* Keep(std::string s) {
  static std::deque<std::string> names;
  return names.emplace_back(std::move(s)).c_str();
}

std::vector<CleanItem> MakeItems() {
  std::vector<CleanItem> items;
  for (const Browser& b : kChromiumBrowsers) {
    const std::string p = b.prefix;
    items.push_back({b.program,
                     ItemKind::kCache,
                     "缓存",
                     Keep(p + "-cache"),
                     true,
                     KnownRoot::kLocalAppData,
                     b.userData,
                     ProfileRule::kChromium,
                     ChromiumCache(),
                     {b.process}});
    items.push_back({b.program,
                     ItemKind::kCookies,
                     "Cookies",
                     Keep(p + "-cookies"),
                     false,
                     KnownRoot::kLocalAppData,
                     b.userData,
                     ProfileRule::kChromium,
                     ChromiumCookies(),
                     {b.process}});
    items.push_back({b.program,
                     ItemKind::kHistory,
                     "历史记录",
                     Keep(p + "-history"),
                     false,
                     KnownRoot::kLocalAppData,
                     b.userData,
                     ProfileRule::kChromium,
                     ChromiumHistory(),
                     {b.process}});
  }
  ItemPart cookies{Base::kProfile, "cookies.sqlite", How::kRows};
  cookies.db = BrowserDb::kFirefoxCookies;
  ItemPart places{Base::kProfile, "places.sqlite", How::kRows};
  places.db = BrowserDb::kFirefoxHistory;
  items.push_back({"Firefox",
                   ItemKind::kCache,
                   "缓存",
                   "firefox-cache",
                   true,
                   KnownRoot::kRoamingAppData,
                   "Mozilla\\Firefox",
                   ProfileRule::kFirefox,
                   {{Base::kLocalProfile, "cache2"}, {Base::kLocalProfile, "startupCache"}},
                   {"firefox.exe"}});
  items.push_back({"Firefox",
                   ItemKind::kCookies,
                   "Cookies",
                   "firefox-cookies",
                   false,
                   KnownRoot::kRoamingAppData,
                   "Mozilla\\Firefox",
                   ProfileRule::kFirefox,
                   {cookies},
                   {"firefox.exe"}});
  items.push_back({"Firefox",
                   ItemKind::kHistory,
                   "历史记录",
                   "firefox-history",
                   false,
                   KnownRoot::kRoamingAppData,
                   "Mozilla\\Firefox",
                   ProfileRule::kFirefox,
                   {places},
                   {"firefox.exe"}});

  ItemPart thumbs{Base::kRoot, "Microsoft\\Windows\\Explorer", How::kFilesByPattern};
  thumbs.pattern = "thumbcache_*.db";
  ItemPart icons = thumbs;
  icons.pattern = "iconcache_*.db";
  items.push_back({"Windows",
                   ItemKind::kThumbnails,
                   "缩略图缓存",
                   "thumbnails",
                   true,
                   KnownRoot::kLocalAppData,
                   "",
                   ProfileRule::kNone,
                   {thumbs, icons},
                   {}});
  items.push_back({"Windows",
                   ItemKind::kCrashReports,
                   "程序错误报告和崩溃转储",
                   "crash-reports",
                   true,
                   KnownRoot::kLocalAppData,
                   "",
                   ProfileRule::kNone,
                   {{Base::kRoot, "CrashDumps"},
                    {Base::kRoot, "Microsoft\\Windows\\WER\\ReportArchive"},
                    {Base::kRoot, "Microsoft\\Windows\\WER\\ReportQueue"}},
                   {}});
  items.push_back({"Windows",
                   ItemKind::kShaderCache,
                   "DirectX 着色器缓存",
                   "shader-cache",
                   true,
                   KnownRoot::kLocalAppData,
                   "",
                   ProfileRule::kNone,
                   {{Base::kRoot, "D3DSCache"}},
                   {}});
  items.push_back({"Windows",
                   ItemKind::kOldTemp,
                   "过期临时文件",
                   "old-temp",
                   true,
                   KnownRoot::kTemp,
                   "",
                   ProfileRule::kNone,
                   {{Base::kRoot, "", How::kOldEntries}},
                   {}});
  return items;
}

// Files of the user's own data, by name; their SQLite companions too.
constexpr std::string_view kOwnFiles[] = {"Bookmarks",
                                          "Bookmarks.bak",
                                          "Login Data",
                                          "Login Data For Account",
                                          "logins.json",
                                          "logins-backup.json",
                                          "key4.db",
                                          "key3.db",
                                          "cert9.db",
                                          "Preferences",
                                          "Secure Preferences",
                                          "Local State",
                                          "prefs.js",
                                          "user.js",
                                          "profiles.ini",
                                          "installs.ini",
                                          "Web Data",
                                          "places.sqlite",
                                          "favicons.sqlite",
                                          "permissions.sqlite",
                                          "formhistory.sqlite",
                                          "extensions.json",
                                          "extension-preferences.json",
                                          "extension-settings.json",
                                          "addons.json",
                                          "containers.json",
                                          "handlers.json",
                                          "search.json.mozlz4"};
constexpr std::string_view kCompanions[] = {"", "-journal", "-wal", "-shm"};
// Folders of the user's own data: nothing inside them is removed.
constexpr std::string_view kOwnFolders[] = {"Extensions",
                                            "Extension State",
                                            "Extension Rules",
                                            "Extension Scripts",
                                            "Local Extension Settings",
                                            "Sync Extension Settings",
                                            "Managed Extension Settings",
                                            "browser-extension-data",
                                            "bookmarkbackups",
                                            "Sync Data"};

bool OwnFile(std::string_view name) {
  for (std::string_view own : kOwnFiles)
    for (std::string_view tail : kCompanions)
      if (name.size() == own.size() + tail.size() && SameNoCase(name.substr(0, own.size()), own) &&
          SameNoCase(name.substr(own.size()), tail))
        return true;
  return false;
}

}  // namespace

const std::vector<CleanItem>& CleanItems() {
  static const std::vector<CleanItem> items = MakeItems();
  return items;
}

const CleanItem* FindCleanItem(std::string_view cliName) {
  for (const CleanItem& item : CleanItems())
    if (SameNoCase(item.cliName, cliName)) return &item;
  return nullptr;
}

bool NeverTouched(std::string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(start, end - start);
    if (end == path.size()) return OwnFile(part);
    for (std::string_view own : kOwnFolders)
      if (SameNoCase(part, own)) return true;
    start = end + 1;
  }
  return false;
}

bool NameMatches(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool ProgramRunning(const CleanItem& item, const std::vector<std::string>& running) {
  for (const char* process : item.processes)
    for (const std::string& name : running)
      if (SameNoCase(process, name)) return true;
  return false;
}

RunningSplit SplitRunning(const std::vector<const CleanItem*>& chosen,
                          const std::vector<std::string>& running) {
  RunningSplit split;
  std::vector<std::string_view> named;
  for (const CleanItem* item : chosen) {
    if (!ProgramRunning(*item, running)) {
      split.clean.push_back(item);
      continue;
    }
    split.skipped.push_back(item);
    if (std::find(named.begin(), named.end(), item->program) == named.end()) {
      named.push_back(item->program);
      split.lines.push_back(RunningLine(*item));
    }
  }
  return split;
}

std::string RunningLine(const CleanItem& item) {
  return std::string(item.program) + " 正在运行，已跳过；关闭后再清理。";
}

}  // namespace cleanup
