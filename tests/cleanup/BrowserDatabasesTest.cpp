// Cookie and history rows removed through SQLite, on files made here with
// the browsers' tables (the columns that matter).
#include "cleanup/BrowserDatabases.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>

#include "cleanup/KeepSites.h"

namespace {

using cleanup::BrowserDb;
using cleanup::ClearRows;
using cleanup::CountRows;
using cleanup::DbResult;
using cleanup::KeepSites;

class BrowserDatabases : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/mirven-db-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + root_ + "'").c_str()), 0); }

  // A connection of the test's own, standing for the browser.
  sqlite3* Open(const std::string& name) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(Path(name).c_str(), &db), SQLITE_OK);
    return db;
  }
  // Runs `sql`; the rows it gives, one "a|b|c" line each.
  static std::string Run(sqlite3* db, const std::string& sql) {
    std::string out;
    char* error = nullptr;
    const auto row = [](void* text, int n, char** values, char**) {
      for (int i = 0; i < n; ++i)
        *static_cast<std::string*>(text) +=
            std::string(values[i] ? values[i] : "NULL") + (i + 1 < n ? "|" : "\n");
      return 0;
    };
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), row, &out, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    return out;
  }
  std::string Rows(const std::string& name, const std::string& sql) {
    sqlite3* db = Open(name);
    std::string out = Run(db, sql);
    sqlite3_close(db);
    return out;
  }
  std::string Bytes(const std::string& name) {
    std::ifstream f(root_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
  std::string Path(const std::string& name) { return root_ + "/" + name; }

  std::string root_;
};

TEST_F(BrowserDatabases, CookiesGoExceptThoseOfTheKeptSitesAndLeaveNoTrace) {
  KeepSites keep;
  keep.Add("example.com");
  const struct {
    BrowserDb db;
    const char* file;
    const char* schema;
    const char* table;
    const char* host;
  } kinds[] = {
      {BrowserDb::kChromiumCookies, "Cookies",
       "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);"
       "CREATE TABLE cookies(creation_utc INTEGER, host_key TEXT NOT NULL, name TEXT, "
       "value TEXT, encrypted_value BLOB, path TEXT);",
       "cookies", "host_key"},
      {BrowserDb::kFirefoxCookies, "cookies.sqlite",
       "PRAGMA journal_mode=WAL;"
       "CREATE TABLE moz_cookies(id INTEGER PRIMARY KEY, originAttributes TEXT, name TEXT, "
       "value TEXT, host TEXT, path TEXT);",
       "moz_cookies", "host"},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.file);
    std::string sql = k.schema + std::string("BEGIN;");
    int n = 0;
    for (const char* host : {"example.com", ".example.com", "www.EXAMPLE.com", ".badexample.com",
                             "badexample.com", "tracker.net", "example.com.evil.org"})
      sql += std::string("INSERT INTO ") + k.table + "(" + k.host + ", name, value) VALUES('" +
             host + "', 'sid', 'secret-token-" + std::to_string(n++) + "');";
    // Enough rows that the removed ones fill pages of their own.
    for (int i = 0; i < 300; ++i)
      sql += std::string("INSERT INTO ") + k.table + "(" + k.host + ", name, value) VALUES('ad" +
             std::to_string(i) + ".tracker.net', 'id', 'secret-token-x" + std::to_string(i) + "');";
    Rows(k.file, sql + "COMMIT;");

    EXPECT_EQ(CountRows(k.db, Path(k.file), keep).rows, 304u);
    const auto outcome = ClearRows(k.db, Path(k.file), keep);
    EXPECT_EQ(outcome.result, DbResult::kDone);
    EXPECT_EQ(outcome.rows, 304u);
    EXPECT_EQ(Rows(k.file, std::string("SELECT ") + k.host + ", value FROM " + k.table),
              "example.com|secret-token-0\n.example.com|secret-token-1\n"
              "www.EXAMPLE.com|secret-token-2\n");
    // Neither the file nor a log beside it still holds a removed value.
    for (const char* suffix : {"", "-wal", "-journal"})
      EXPECT_EQ(Bytes(std::string(k.file) + suffix).find("secret-token-x"), std::string::npos)
          << suffix;
    EXPECT_EQ(CountRows(k.db, Path(k.file), keep).rows, 0u);
  }
}

TEST_F(BrowserDatabases, FirefoxHistoryGoesAndItsBookmarksStayAsTheyWere) {
  Rows(
      "places.sqlite",
      "PRAGMA journal_mode=WAL;"
      "CREATE TABLE moz_origins(id INTEGER PRIMARY KEY, prefix TEXT, host TEXT);"
      "CREATE TABLE moz_places(id INTEGER PRIMARY KEY, url TEXT, title TEXT, visit_count INTEGER,"
      " last_visit_date INTEGER, origin_id INTEGER);"
      "CREATE TABLE moz_historyvisits(id INTEGER PRIMARY KEY, place_id INTEGER, visit_date "
      "INTEGER);"
      "CREATE TABLE moz_inputhistory(place_id INTEGER, input TEXT, use_count INTEGER);"
      "CREATE TABLE moz_bookmarks(id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER, parent INTEGER,"
      " title TEXT);"
      "CREATE TABLE moz_keywords(id INTEGER PRIMARY KEY, keyword TEXT, place_id INTEGER);"
      "CREATE TABLE moz_annos(id INTEGER PRIMARY KEY, place_id INTEGER, content TEXT);"
      "INSERT INTO moz_origins "
      "VALUES(1,'https://','bank.example.cn'),(2,'https://','news.example'),"
      " (3,'https://','search.example');"
      "INSERT INTO moz_places VALUES(1,'https://bank.example.cn/','网银',5,1700,1),"
      " (2,'https://news.example/a','A',2,1800,2),(3,'https://news.example/b','B',1,1900,2),"
      " (4,'https://search.example/?q=%s','S',0,NULL,3);"
      "INSERT INTO moz_historyvisits VALUES(1,1,1700),(2,2,1800),(3,3,1900),(4,2,1850);"
      "INSERT INTO moz_inputhistory VALUES(2,'new',3);"
      "INSERT INTO moz_bookmarks VALUES(1,2,NULL,0,'menu'),(2,1,1,1,'网银');"
      "INSERT INTO moz_keywords VALUES(1,'s',4);"
      "INSERT INTO moz_annos VALUES(1,1,'kept'),(2,3,'gone');");
  const std::string bookmarks =
      "SELECT * FROM moz_bookmarks; SELECT * FROM moz_keywords;"
      "SELECT * FROM moz_places WHERE id IN (1, 4); SELECT * FROM moz_origins WHERE id IN (1, 3);";
  const std::string before = Rows("places.sqlite", bookmarks);

  const auto counted = CountRows(BrowserDb::kFirefoxHistory, Path("places.sqlite"), KeepSites());
  EXPECT_EQ(counted.result, DbResult::kDone);
  // 4 visits, 1 input, 1 annotation, 2 places, 1 origin.
  EXPECT_EQ(counted.rows, 9u);
  const auto cleared = ClearRows(BrowserDb::kFirefoxHistory, Path("places.sqlite"), KeepSites());
  EXPECT_EQ(cleared.result, DbResult::kDone);
  EXPECT_EQ(cleared.rows, 9u);

  EXPECT_EQ(Rows("places.sqlite", bookmarks), before);
  EXPECT_EQ(Rows("places.sqlite",
                 "SELECT id FROM moz_places; SELECT id FROM moz_origins;"
                 "SELECT count(*) FROM moz_historyvisits;"
                 "SELECT count(*) FROM moz_inputhistory; SELECT id FROM moz_annos"),
            "1\n4\n1\n3\n0\n0\n1\n");
}

TEST_F(BrowserDatabases, ChromiumHistoryLosesItsVisitsAndDownloadsButKeepsItsMeta) {
  Rows("History",
       "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);"
       "CREATE TABLE urls(id INTEGER PRIMARY KEY, url TEXT, title TEXT);"
       "CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER, visit_time INTEGER);"
       "CREATE TABLE keyword_search_terms(keyword_id INTEGER, url_id INTEGER, term TEXT);"
       "CREATE TABLE downloads(id INTEGER PRIMARY KEY, target_path TEXT, tab_url TEXT);"
       "INSERT INTO meta VALUES('version','70');"
       "INSERT INTO urls VALUES(1,'https://a.example/','A'),(2,'https://b.example/','B');"
       "INSERT INTO visits VALUES(1,1,10),(2,2,20),(3,1,30);"
       "INSERT INTO keyword_search_terms VALUES(1,2,'mirven');"
       "INSERT INTO downloads VALUES(1,'C:\\d\\setup.exe','https://a.example/');");
  EXPECT_EQ(CountRows(BrowserDb::kChromiumHistory, Path("History"), KeepSites()).rows, 7u);
  const auto cleared = ClearRows(BrowserDb::kChromiumHistory, Path("History"), KeepSites());
  EXPECT_EQ(cleared.result, DbResult::kDone);
  EXPECT_EQ(cleared.rows, 7u);
  EXPECT_EQ(Rows("History",
                 "SELECT (SELECT count(*) FROM urls) + (SELECT count(*) FROM visits) +"
                 "(SELECT count(*) FROM keyword_search_terms) +"
                 "(SELECT count(*) FROM downloads); SELECT * FROM meta"),
            "0\nversion|70\n");
}

TEST_F(BrowserDatabases, LockedForeignOrMissingDatabasesAreLeftAlone) {
  const std::string cookies =
      "CREATE TABLE cookies(host_key TEXT, value TEXT);"
      "INSERT INTO cookies VALUES('a.example','1'),('b.example','2');";
  Rows("Cookies", cookies);
  const std::string bytes = Bytes("Cookies");
  {
    // The browser writing (a reserved lock), then holding the file as its
    // own (an exclusive lock, as Chromium does while it runs).
    sqlite3* browser = Open("Cookies");
    Run(browser, "BEGIN IMMEDIATE; INSERT INTO cookies VALUES('c.example','3')");
    EXPECT_EQ(ClearRows(BrowserDb::kChromiumCookies, Path("Cookies"), KeepSites()).result,
              DbResult::kLocked);
    Run(browser, "ROLLBACK; PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT");
    for (auto visit : {&CountRows, &ClearRows}) {
      const auto outcome = visit(BrowserDb::kChromiumCookies, Path("Cookies"), KeepSites());
      EXPECT_EQ(outcome.result, DbResult::kLocked);
      EXPECT_EQ(outcome.rows, 0u);
    }
    sqlite3_close(browser);
  }
  EXPECT_EQ(Bytes("Cookies"), bytes);

  // Another kind of database, a file that is no database, and no file.
  Rows("Web Data",
       "CREATE TABLE autofill(name TEXT, value TEXT); INSERT INTO autofill VALUES('a','b');");
  std::ofstream(Path("text.sqlite")) << "SQLite format 2? no: just text\n";
  const std::string webData = Bytes("Web Data");
  for (auto visit : {&CountRows, &ClearRows}) {
    EXPECT_EQ(visit(BrowserDb::kChromiumCookies, Path("Web Data"), KeepSites()).result,
              DbResult::kFailed);
    EXPECT_EQ(visit(BrowserDb::kFirefoxHistory, Path("text.sqlite"), KeepSites()).result,
              DbResult::kFailed);
    EXPECT_EQ(visit(BrowserDb::kFirefoxCookies, Path("absent.sqlite"), KeepSites()).result,
              DbResult::kAbsent);
  }
  EXPECT_EQ(Bytes("Web Data"), webData);
  EXPECT_EQ(Bytes("text.sqlite"), "SQLite format 2? no: just text\n");
  EXPECT_FALSE(std::ifstream(Path("absent.sqlite")).good());
}

}  // namespace
