#include "support/LaidOutProfile.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "base/Folders.h"
#include "base/Text.h"
#include "cleanup/TempTree.h"
#include "ui/Handles.h"

namespace itemtest {

namespace {

using cleanuptest::Exists;
using cleanuptest::TempFolder;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(base::Wide(path).c_str(), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Bytes that differ from file to file, so that a swap or a truncation shows.
std::string Content(const std::string& path, size_t size) {
  std::string unit = path + "|";
  std::string s;
  s.reserve(size);
  while (s.size() < size) s += unit;
  s.resize(size);
  return s;
}

std::string Hex(unsigned n, int width) {
  char buf[24];
  snprintf(buf, sizeof buf, "%0*x", width, n);
  return buf;
}

// A Chromium browser's tables, with the columns that matter.
constexpr char kChromiumCookies[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "INSERT INTO meta VALUES('version','23');"
    "CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, name TEXT NOT "
    "NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL);";
constexpr char kChromiumHistory[] =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "INSERT INTO meta VALUES('version','70');"
    "CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR);"
    "CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER NOT NULL, visit_time INTEGER);"
    "CREATE TABLE keyword_search_terms(keyword_id INTEGER, url_id INTEGER, term LONGVARCHAR);"
    "CREATE TABLE downloads(id INTEGER PRIMARY KEY, target_path LONGVARCHAR, tab_url "
    "LONGVARCHAR);"
    "INSERT INTO urls "
    "VALUES(1,'https://news.example/','新闻'),(2,'https://bank.example.cn/','网银');"
    "INSERT INTO visits VALUES(1,1,100),(2,2,200),(3,1,300);"
    "INSERT INTO keyword_search_terms VALUES(1,1,'电脑 清理');"
    "INSERT INTO downloads "
    "VALUES(1,'C:\\Users\\me\\Downloads\\setup.exe','https://news.example/');";
constexpr char kFirefoxPlaces[] =
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, prefix TEXT, host TEXT);"
    "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url TEXT, title TEXT, visit_count INTEGER,"
    " last_visit_date INTEGER, origin_id INTEGER);"
    "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, place_id INTEGER, visit_date INTEGER);"
    "CREATE TABLE moz_inputhistory(place_id INTEGER, input TEXT, use_count INTEGER);"
    "CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER,"
    " title TEXT);"
    "CREATE TABLE moz_keywords(id INTEGER PRIMARY KEY, keyword TEXT, place_id INTEGER);"
    "CREATE TABLE moz_annos(id INTEGER PRIMARY KEY, place_id INTEGER, content TEXT);"
    "INSERT INTO moz_origins VALUES(1,'https://','bank.example.cn'),(2,'https://','news.example');"
    "INSERT INTO moz_places VALUES(1,'https://bank.example.cn/','网银',5,1700,1),"
    " (2,'https://news.example/a','A',2,1800,2),(3,'https://news.example/b','B',1,1900,2);"
    "INSERT INTO moz_historyvisits VALUES(1,1,1700),(2,2,1800),(3,3,1900),(4,2,1850);"
    "INSERT INTO moz_inputhistory VALUES(2,'new',3);"
    "INSERT INTO moz_bookmarks VALUES(1,2,NULL,0,'menu'),(2,1,1,1,'网银');"
    "INSERT INTO moz_annos VALUES(1,3,'gone');";
constexpr char kFirefoxCookies[] =
    "PRAGMA journal_mode=WAL;"
    "CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '',"
    " name TEXT, value TEXT, host TEXT, path TEXT);";

// Cookies of the kept site, of hosts under it, and of hosts that only look
// like it; then the trackers that fill a real cookie jar.
std::string CookieRows(const char* table, const char* hostColumn, bool chromium) {
  std::string sql = "BEGIN;";
  int n = 0;
  auto row = [&](const std::string& host) {
    const std::string v = "'v" + std::to_string(n++) + "'";
    sql += std::string("INSERT INTO ") + table + "(" + hostColumn + ", name, value" +
           (chromium ? ", creation_utc, encrypted_value, path" : ", path") + ") VALUES('" + host +
           "', 'sid', " + v + (chromium ? ", 1, x'00', '/'" : ", '/'") + ");";
  };
  for (const char* host : {"bank.example.cn", ".bank.example.cn", "www.bank.example.cn",
                           ".notbank.example.cn", "bank.example.cn.evil.example", "news.example"})
    row(host);
  for (int i = 0; i < 40; ++i) row(".ad" + std::to_string(i) + ".tracker.example");
  return sql + "COMMIT;";
}

bool RunSql(const std::string& path, const std::string& sql, std::string* rows) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK;
  const auto each = [](void* text, int n, char** values, char**) {
    for (int i = 0; i < n; ++i)
      *static_cast<std::string*>(text) +=
          std::string(values[i] ? values[i] : "NULL") + (i + 1 < n ? "|" : "\n");
    return 0;
  };
  ok = ok && sqlite3_exec(db, sql.c_str(), rows ? +each : nullptr, rows, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

}  // namespace

LaidOutProfile::LaidOutProfile()
    : local_(base::KnownFolder(FOLDERID_LocalAppData)),
      roaming_(base::KnownFolder(FOLDERID_RoamingAppData)),
      temp_(TempFolder()) {
  Chromium(local_ + "\\Microsoft\\Edge\\User Data", "Microsoft Edge", "edge",
           {"Default", "Profile 1"}, 30);
  Chromium(local_ + "\\Google\\Chrome\\User Data", "Google Chrome", "chrome", {"Default"}, 20);
  Firefox();
  Windows();
  const std::string sites = roaming_ + "\\Mirven\\keep-sites.txt";
  keptSitesBefore_ = ReadBytes(sites);
  cleanuptest::MakeFolders(roaming_ + "\\Mirven");
  std::ofstream(base::Wide(sites).c_str(), std::ios::binary) << kKeptSite << "\r\n";
}

LaidOutProfile::~LaidOutProfile() {
  for (auto it = made_.rbegin(); it != made_.rend(); ++it) cleanuptest::RemoveTree(*it);
  const std::string sites = roaming_ + "\\Mirven\\keep-sites.txt";
  if (keptSitesBefore_ == "<missing>")
    DeleteFileW(base::Wide(sites).c_str());
  else
    std::ofstream(base::Wide(sites).c_str(), std::ios::binary) << keptSitesBefore_;
}

void LaidOutProfile::Write(const std::string& path, const char* program, const char* item,
                           Laid laid, size_t size, bool old) {
  // The first folder made on the way goes afterwards; a file in a folder
  // that was there already goes alone.
  const std::string& base = path.rfind(temp_, 0) == 0    ? temp_
                            : path.rfind(local_, 0) == 0 ? local_
                                                         : roaming_;
  std::string first;
  for (size_t cut = path.find('\\', base.size() + 1); cut != std::string::npos;
       cut = path.find('\\', cut + 1)) {
    const std::string folder = path.substr(0, cut);
    if (!Exists(folder) && CreateDirectoryW(base::Wide(folder).c_str(), nullptr) && first.empty())
      first = folder;
  }
  if (first.empty()) first = path;
  if (std::find(made_.begin(), made_.end(), first) == made_.end()) made_.push_back(first);

  if (laid != Laid::kCookieDb && laid != Laid::kHistoryDb) {
    const std::string bytes = Content(path, size);
    base::FileHandle f(CreateFileW(base::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (size) ::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(size), &written, nullptr);
    if (old) {
      // Ten days before now.
      FILETIME now;
      GetSystemTimeAsFileTime(&now);
      ULARGE_INTEGER t;
      t.LowPart = now.dwLowDateTime;
      t.HighPart = now.dwHighDateTime;
      t.QuadPart -= 10ULL * 24 * 3600 * 10000000;
      const FILETIME then{t.LowPart, t.HighPart};
      SetFileTime(f.get(), &then, &then, &then);
    }
  }
  files_.push_back({path, program, item, laid, size});
}

void LaidOutProfile::WriteText(const std::string& path, const char* program,
                               const std::string& text) {
  Write(path, program, "", Laid::kOwn, 0);
  std::ofstream(base::Wide(path).c_str(), std::ios::binary) << text;
  files_.back().size = text.size();
  bytes_[path] = text;
}

void LaidOutProfile::MakeDatabase(const std::string& path, const char* program, Laid laid,
                                  const std::string& sql) {
  Write(path, program, "", laid, 0);
  RunSql(path, sql, nullptr);
  bytes_[path] = ReadBytes(path);
  files_.back().size = bytes_[path].size();
}

void LaidOutProfile::Chromium(const std::string& userData, const char* program, const char* prefix,
                              const std::vector<std::string>& profiles, int cacheFiles) {
  const std::string p = prefix;
  const std::string cache = p + "-cache", history = p + "-history";
  std::string infoCache;
  for (const std::string& name : profiles)
    infoCache += (infoCache.empty() ? "\"" : ",\"") + name + "\":{\"name\":\"" + name + "\"}";
  WriteText(userData + "\\Local State", program,
            "{\"profile\":{\"info_cache\":{" + infoCache + "},\"last_used\":\"Default\"}}");
  const char* cacheItem = cache.c_str();
  const char* historyItem = history.c_str();
  Write(userData + "\\ShaderCache\\data_0", program, cacheItem, Laid::kCache, 20 << 10);
  Write(userData + "\\GrShaderCache\\data_1", program, cacheItem, Laid::kCache, 30 << 10);
  Write(userData + "\\Crashpad\\reports\\4f1c2e9a-77b0-4d52-9a51-0c3f1d2e5b6a.dmp", program,
        cacheItem, Laid::kCache, 50 << 10);
  Write(userData + "\\Crashpad\\settings.dat", program, "", Laid::kStays, 1 << 10);
  for (const std::string& name : profiles) {
    const std::string at = userData + "\\" + name + "\\";
    Write(at + "Cache\\Cache_Data\\index", program, cacheItem, Laid::kCache, 4 << 10);
    for (int i = 0; i < 4; ++i)
      Write(at + "Cache\\Cache_Data\\data_" + std::to_string(i), program, cacheItem, Laid::kCache,
            8 << 10);
    for (int i = 0; i < cacheFiles; ++i)
      Write(at + "Cache\\Cache_Data\\f_" + Hex(static_cast<unsigned>(i + 1), 6), program, cacheItem,
            Laid::kCache, 40 << 10);
    for (int i = 0; i < 5; ++i)
      Write(at + "Code Cache\\js\\" + Hex(0x9e3779b9u * static_cast<unsigned>(i + 1), 8) + "_0",
            program, cacheItem, Laid::kCache, 16 << 10);
    Write(at + "Code Cache\\wasm\\index", program, cacheItem, Laid::kCache, 1 << 10);
    Write(at + "GPUCache\\data_0", program, cacheItem, Laid::kCache, 8 << 10);
    const std::string sw = at + "Service Worker\\CacheStorage\\0b6f2c4e8a\\5d2e-41aa-9f07\\";
    for (int i = 0; i < 3; ++i)
      Write(sw + Hex(static_cast<unsigned>(0xa1 + i), 8) + "_0", program, cacheItem, Laid::kCache,
            20 << 10);
    Write(at + "Service Worker\\Database\\CURRENT", program, "", Laid::kStays, 16);
    Write(at + "Network\\Network Persistent State", program, "", Laid::kStays, 2 << 10);
    MakeDatabase(at + "Network\\Cookies", program, Laid::kCookieDb,
                 kChromiumCookies + CookieRows("cookies", "host_key", true));
    MakeDatabase(at + "History", program, Laid::kHistoryDb, kChromiumHistory);
    Write(at + "Visited Links", program, historyItem, Laid::kHistory, 128 << 10);
    Write(at + "Top Sites", program, historyItem, Laid::kHistory, 20 << 10);
    // The user's own: never touched.
    WriteText(at + "Bookmarks", program,
              "{\"roots\":{\"bookmark_bar\":{\"children\":[{\"name\":\"网银\",\"type\":\"url\","
              "\"url\":\"https://bank.example.cn/\"}]}},\"version\":1}");
    WriteText(at + "Bookmarks.bak", program, "{\"roots\":{},\"version\":1}");
    WriteText(at + "Preferences", program, "{\"homepage\":\"https://news.example/\"}");
    WriteText(at + "Secure Preferences", program, "{\"protection\":{\"macs\":{}}}");
    MakeDatabase(at + "Login Data", program, Laid::kOwn,
                 "CREATE TABLE logins(origin_url TEXT, username_value TEXT, password_value BLOB);"
                 "INSERT INTO logins VALUES('https://bank.example.cn/','me',x'0102');");
    MakeDatabase(at + "Web Data", program, Laid::kOwn,
                 "CREATE TABLE autofill(name TEXT, value TEXT);"
                 "INSERT INTO autofill VALUES('email','me@example.cn');");
    const std::string ext = "cjpalhdlnbpafiamejdnhcphjbkeiagm";
    WriteText(at + "Extensions\\" + ext + "\\1.58.0_0\\manifest.json", program,
              "{\"name\":\"uBlock Origin\",\"manifest_version\":3}");
    Write(at + "Extensions\\" + ext + "\\1.58.0_0\\js\\background.js", program, "", Laid::kOwn,
          12 << 10);
    Write(at + "Local Extension Settings\\" + ext + "\\000003.log", program, "", Laid::kOwn,
          3 << 10);
  }
}

void LaidOutProfile::Firefox() {
  const char* program = "Firefox";
  const std::string roaming = roaming_ + "\\Mozilla\\Firefox\\";
  const std::string release = "Profiles\\k3x9v2ab.default-release\\";
  WriteText(roaming + "profiles.ini", program,
            "[Install308046B0AF4A39CB]\r\nDefault=Profiles/k3x9v2ab.default-release\r\n"
            "Locked=1\r\n\r\n[Profile1]\r\nName=default\r\nIsRelative=1\r\n"
            "Path=Profiles/q1w2e3r4.default\r\nDefault=1\r\n\r\n[Profile0]\r\n"
            "Name=default-release\r\nIsRelative=1\r\nPath=Profiles/k3x9v2ab.default-release\r\n"
            "\r\n[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
  WriteText(roaming + "installs.ini", program,
            "[308046B0AF4A39CB]\r\nDefault=Profiles/k3x9v2ab.default-release\r\n");
  Write(roaming + "Profiles\\q1w2e3r4.default\\times.json", program, "", Laid::kStays, 30);
  const std::string at = roaming + release;
  MakeDatabase(at + "cookies.sqlite", program, Laid::kCookieDb,
               kFirefoxCookies + CookieRows("moz_cookies", "host", false));
  MakeDatabase(at + "places.sqlite", program, Laid::kHistoryDb, kFirefoxPlaces);
  WriteText(at + "logins.json", program,
            "{\"nextId\":2,\"logins\":[{\"id\":1,\"hostname\":\"https://bank.example.cn\"}]}");
  Write(at + "key4.db", program, "", Laid::kOwn, 288 << 10);
  WriteText(at + "prefs.js", program, "user_pref(\"browser.startup.page\", 3);\n");
  WriteText(at + "extensions.json", program, "{\"schemaVersion\":36,\"addons\":[]}");
  Write(at + "extensions\\uBlock0@raymondhill.net.xpi", program, "", Laid::kOwn, 64 << 10);
  Write(at + "bookmarkbackups\\bookmarks-2026-12-01_3_Yx1w.jsonlz4", program, "", Laid::kOwn,
        2 << 10);
  Write(at + "times.json", program, "", Laid::kStays, 30);

  const std::string local = local_ + "\\Mozilla\\Firefox\\" + release;
  for (int i = 0; i < 25; ++i)
    Write(local + "cache2\\entries\\" + Hex(0x5bd1e995u * static_cast<unsigned>(i + 1), 8) +
              "C0FFEE0123456789ABCDEF0123456789",
          program, "firefox-cache", Laid::kCache, 32 << 10);
  Write(local + "cache2\\index", program, "firefox-cache", Laid::kCache, 4 << 10);
  Write(local + "startupCache\\startupCache.8.little", program, "firefox-cache", Laid::kCache,
        256 << 10);
  Write(local + "safebrowsing\\google4\\goog-phish-proto.vlpset", program, "", Laid::kStays,
        8 << 10);
}

void LaidOutProfile::Windows() {
  const char* program = "Windows";
  const std::string explorer = local_ + "\\Microsoft\\Windows\\Explorer\\";
  for (const auto& [name, kb] :
       std::vector<std::pair<const char*, size_t>>{{"thumbcache_256.db", 512},
                                                   {"thumbcache_96.db", 128},
                                                   {"thumbcache_idx.db", 4},
                                                   {"iconcache_32.db", 64}})
    Write(explorer + name, program, "thumbnails", Laid::kCache, kb << 10);
  Write(explorer + "ExplorerStartupLog.etl", program, "", Laid::kStays, 4 << 10);
  Write(local_ + "\\CrashDumps\\explorer.exe.4312.dmp", program, "crash-reports", Laid::kCache,
        200 << 10);
  Write(local_ + "\\CrashDumps\\Game.exe.88.dmp", program, "crash-reports", Laid::kCache,
        150 << 10);
  const std::string wer = local_ + "\\Microsoft\\Windows\\WER\\";
  Write(wer + "ReportArchive\\AppCrash_explorer.exe_3b6e\\Report.wer", program, "crash-reports",
        Laid::kCache, 8 << 10);
  Write(wer + "ReportQueue\\AppHang_Game.exe_9c21\\Report.wer", program, "crash-reports",
        Laid::kCache, 6 << 10);
  Write(wer + "ReportQueue\\AppHang_Game.exe_9c21\\memory.hdmp", program, "crash-reports",
        Laid::kCache, 100 << 10);
  const std::string d3d = local_ + "\\D3DSCache\\7f3a9c1e2b4d5a60\\";
  Write(d3d + "lock", program, "shader-cache", Laid::kCache, 0);
  Write(d3d + "8A2E1F.idx", program, "shader-cache", Laid::kCache, 8 << 10);
  Write(d3d + "8A2E1F.val", program, "shader-cache", Laid::kCache, 256 << 10);

  // Installer leftovers a month old, and what is written today.
  const std::string tag = temp_ + "\\mirven-items-" + std::to_string(GetCurrentProcessId());
  Write(tag + "-setup\\setup.exe", program, "old-temp", Laid::kCache, 200 << 10, true);
  Write(tag + "-setup\\data\\payload.cab", program, "old-temp", Laid::kCache, 100 << 10, true);
  Write(tag + "-old.log", program, "old-temp", Laid::kCache, 10 << 10, true);
  Write(tag + "-mixed\\old.txt", program, "old-temp", Laid::kCache, 3 << 10, true);
  Write(tag + "-mixed\\new.txt", program, "", Laid::kStays, 3 << 10);
  Write(tag + "-fresh.log", program, "", Laid::kStays, 10 << 10);
}

std::vector<std::string> LaidOutProfile::Changed(const std::vector<const LaidFile*>& files) const {
  std::vector<std::string> changed;
  for (const LaidFile* f : files) {
    auto it = bytes_.find(f->path);
    const std::string expected = it != bytes_.end() ? it->second : Content(f->path, f->size);
    if (ReadBytes(f->path) != expected) changed.push_back(f->path);
  }
  return changed;
}

uint64_t LaidOutProfile::ItemBytes(const std::string& item) const {
  uint64_t n = 0;
  for (const LaidFile& f : files_)
    if (f.item == item) n += f.size;
  return n;
}

uint64_t LaidOutProfile::ItemFiles(const std::string& item) const {
  uint64_t n = 0;
  for (const LaidFile& f : files_) n += f.item == item;
  return n;
}

std::string LaidOutProfile::Query(const std::string& db, const std::string& sql) {
  std::string rows;
  if (!RunSql(db, sql, &rows)) return "<failed>";
  return rows;
}

}  // namespace itemtest
