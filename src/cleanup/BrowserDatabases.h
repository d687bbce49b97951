#pragma once
// The rows of today's browsers' cookie and history databases, counted and
// removed through SQLite itself, each clean in one transaction. A database
// the browser holds locked is left as it is and said so.
#include <cstddef>
#include <cstdint>
#include <string>

namespace cleanup {

class KeepSites;

enum class BrowserDb {
  kChromiumCookies,  // <profile>\Network\Cookies (older: <profile>\Cookies), table cookies
  kFirefoxCookies,   // <profile>\cookies.sqlite, table moz_cookies
  kChromiumHistory,  // <profile>\History: visits, searches and the list of downloads (the files
                     // stay)
  kFirefoxHistory,   // <profile>\places.sqlite: visits and the places no bookmark uses
};

enum class DbResult {
  kDone,    // counted, or cleaned
  kAbsent,  // no such file
  kLocked,  // busy or locked by the browser: untouched
  kFailed,  // not a database of that kind, or damaged: untouched
};

struct DbOutcome {
  DbResult result = DbResult::kAbsent;
  uint64_t rows = 0;  // rows that a clean would remove, or removed
};

// `path` is UTF-8. Cookies of the hosts `keep` keeps are neither counted nor
// removed; history ignores it. Bookmarks, passwords and settings are never
// touched.
// The files beside a Chromium profile's History that repeat what it holds
// (visited-link hashes, most-visited pages, address-bar shortcuts and
// predictions, the icons of visited pages); a history clean deletes them as
// whole files, and the browser makes them again, empty. History's own
// journal is never among them: SQLite needs it to recover the database.
extern const char* const kChromiumHistoryCopies[];
extern const size_t kChromiumHistoryCopyCount;

DbOutcome CountRows(BrowserDb db, const std::string& path, const KeepSites& keep);
DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep);

}  // namespace cleanup
