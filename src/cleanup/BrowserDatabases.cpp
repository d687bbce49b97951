#include "cleanup/BrowserDatabases.h"

#include <sqlite3.h>

#include <vector>

#include "cleanup/KeepSites.h"

namespace cleanup {

const char* const kChromiumHistoryCopies[] = {
    "Visited Links",
    "Top Sites",
    "Top Sites-journal",
    "Shortcuts",
    "Shortcuts-journal",
    "Network Action Predictor",
    "Network Action Predictor-journal",
    "History Provider Cache",
    "Favicons",
    "Favicons-journal",
};
const size_t kChromiumHistoryCopyCount =
    sizeof(kChromiumHistoryCopies) / sizeof(*kChromiumHistoryCopies);

namespace {

// One set of rows a clean removes: `where` is the same condition before and
// after the clean's earlier steps, so that counting and cleaning agree.
struct Rows {
  const char* table;
  const char* where;
};

struct Kind {
  std::vector<const char*> required;  // without them it is no such database
  std::vector<Rows> rows;             // in the order they are removed
};

// Firefox's places that stay: those a bookmark, or a bookmark's keyword,
// points at.
#define KEPT_PLACE                                              \
  "(id IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL) OR " \
  "id IN (SELECT place_id FROM moz_keywords WHERE place_id NOT NULL))"

const Kind& KindOf(BrowserDb db) {
  static const Kind kChromiumCookies{{"cookies"}, {{"cookies", "NOT mirven_keeps(host_key)"}}};
  static const Kind kFirefoxCookies{{"moz_cookies"}, {{"moz_cookies", "NOT mirven_keeps(host)"}}};
  // Every table that says which pages were visited or searched for, the
  // downloads among them (a download's row holds the page it came from);
  // `meta` and the sync bookkeeping stay so that the browser opens it as
  // its own. The downloaded files themselves are not touched.
  static const Kind kChromiumHistory{{"urls", "visits"},
                                     {{"visits", "1"},
                                      {"visit_source", "1"},
                                      {"keyword_search_terms", "1"},
                                      {"segment_usage", "1"},
                                      {"segments", "1"},
                                      {"content_annotations", "1"},
                                      {"context_annotations", "1"},
                                      {"clusters_and_visits", "1"},
                                      {"cluster_keywords", "1"},
                                      {"cluster_visit_duplicates", "1"},
                                      {"clusters", "1"},
                                      {"visited_links", "1"},
                                      {"downloads_url_chains", "1"},
                                      {"downloads_slices", "1"},
                                      {"downloads", "1"},
                                      {"urls", "1"}}};
  static const Kind kFirefoxHistory{
      {"moz_places", "moz_historyvisits", "moz_bookmarks", "moz_keywords"},
      {{"moz_historyvisits", "1"},
       {"moz_historyvisits_extra", "1"},
       {"moz_inputhistory", "1"},
       {"moz_places_metadata", "1"},
       {"moz_places_metadata_search_queries", "1"},
       {"moz_annos", "place_id NOT IN (SELECT id FROM moz_places WHERE " KEPT_PLACE ")"},
       {"moz_places_extra", "place_id NOT IN (SELECT id FROM moz_places WHERE " KEPT_PLACE ")"},
       {"moz_places", "NOT " KEPT_PLACE},
       {"moz_origins",
        "id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id NOT NULL AND " KEPT_PLACE
        ")"}}};
  switch (db) {
    case BrowserDb::kChromiumCookies: return kChromiumCookies;
    case BrowserDb::kFirefoxCookies: return kFirefoxCookies;
    case BrowserDb::kChromiumHistory: return kChromiumHistory;
    case BrowserDb::kFirefoxHistory: break;
  }
  return kFirefoxHistory;
}
#undef KEPT_PLACE

// A failed step of a count or a clean; what went wrong decides the result.
struct Failure {
  DbResult result;
};

DbResult ResultOf(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? DbResult::kLocked : DbResult::kFailed;
}

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) throw Failure{ResultOf(rc)};
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // SQLITE_ROW or SQLITE_DONE; anything else fails.
  int Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) throw Failure{ResultOf(rc)};
    return rc;
  }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  Database(const std::string& path, bool write) {
    // Never created, and never reached through a symbolic link.
    const int rc = sqlite3_open_v2(
        path.c_str(), &db_,
        (write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc != SQLITE_OK) throw Failure{ResultOf(rc)};
    sqlite3_extended_result_codes(db_, 1);
    // Counting never waits for the browser; a clean waits only briefly.
    sqlite3_busy_timeout(db_, write ? 250 : 0);
  }
  ~Database() { sqlite3_close_v2(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Run(const std::string& sql) {
    Statement s(db_, sql);
    while (s.Step() == SQLITE_ROW) {
    }
  }
  uint64_t Count(const std::string& sql) {
    Statement s(db_, sql);
    return s.Step() == SQLITE_ROW ? static_cast<uint64_t>(sqlite3_column_int64(s.get(), 0)) : 0;
  }
  bool HasTable(const char* name) {
    Statement s(db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
    sqlite3_bind_text(s.get(), 1, name, -1, SQLITE_STATIC);
    return s.Step() == SQLITE_ROW;
  }
  sqlite3* get() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

void KeepsFunction(sqlite3_context* context, int, sqlite3_value** args) {
  const auto* keep = static_cast<const KeepSites*>(sqlite3_user_data(context));
  const auto* host = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
  sqlite3_result_int(context, host && keep->KeepsHost(host) ? 1 : 0);
}

bool FileExists(const std::string& path) {
  sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
  int exists = 0;
  return vfs && vfs->xAccess(vfs, path.c_str(), SQLITE_ACCESS_EXISTS, &exists) == SQLITE_OK &&
         exists;
}

DbOutcome Visit(BrowserDb kind, const std::string& path, const KeepSites& keep, bool clear) {
  DbOutcome out;
  if (!FileExists(path)) return out;
  try {
    Database db(path, clear);
    if (sqlite3_create_function_v2(db.get(), "mirven_keeps", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   const_cast<KeepSites*>(&keep), KeepsFunction, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
      throw Failure{DbResult::kFailed};
    if (clear) {
      // Removed rows are overwritten, not left readable in free pages.
      db.Run("PRAGMA secure_delete = ON");
      // Taken before anything is read, so that the browser cannot slip a
      // write in between; a browser that holds the file makes this busy.
      db.Run("BEGIN IMMEDIATE");
    } else {
      db.Run("BEGIN");
    }
    const Kind& k = KindOf(kind);
    for (const char* table : k.required)
      if (!db.HasTable(table)) throw Failure{DbResult::kFailed};
    // A failure leaves the transaction open; closing the connection rolls it back.
    for (const Rows& rows : k.rows) {
      if (!db.HasTable(rows.table)) continue;
      const std::string where = std::string(" FROM ") + rows.table + " WHERE " + rows.where;
      if (clear) {
        db.Run("DELETE" + where);
        out.rows += static_cast<uint64_t>(sqlite3_changes(db.get()));
      } else {
        out.rows += db.Count("SELECT count(*)" + where);
      }
    }
    db.Run(clear ? "COMMIT" : "END");
    if (clear) {
      // secure_delete zeroes the pages it frees, but a page that stays can
      // keep removed values in its unused space; rebuilding the file drops
      // them, and the write-ahead log's copies go when it is written back.
      // The rows are gone either way: these only tidy up after them.
      sqlite3_exec(db.get(), "VACUUM", nullptr, nullptr, nullptr);
      sqlite3_exec(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    }
    out.result = DbResult::kDone;
  } catch (const Failure& f) {
    out.result = f.result;
    out.rows = 0;
  }
  return out;
}

}  // namespace

DbOutcome CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return Visit(db, path, keep, false);
}

DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return Visit(db, path, keep, true);
}

}  // namespace cleanup
