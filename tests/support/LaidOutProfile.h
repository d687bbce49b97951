#pragma once
// A user profile laid out in the Wine prefix's own user folders as Windows
// 10/11 and today's browsers lay it out: Microsoft Edge with two profiles,
// Google Chrome and Firefox with their caches, real cookie and history
// databases, bookmarks, passwords, preferences and extensions; Explorer's
// thumbnail caches, crash dumps, error reports, shader caches, and old and
// fresh entries in %TEMP%. Everything it made is removed again.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace itemtest {

// What a clean may do to a laid-out file.
enum class Laid {
  kCache,      // removed by an item ticked by default (caches, Windows' caches, old temp)
  kHistory,    // a file that repeats the history: removed by a history clean
  kCookieDb,   // rows go (except the kept sites'), the file stays
  kHistoryDb,  // rows go (Firefox: except the bookmarks'), the file stays
  kOwn,        // the user's own data: never touched, whatever is ticked
  kStays,      // named by no item (fresh temp, logs beside the caches): never touched
};

struct LaidFile {
  std::string path;
  const char* program;  // "Microsoft Edge", "Firefox", "Windows"
  std::string item;     // the command-line name of the item that removes it; "" for none
  Laid laid;
  uint64_t size = 0;
};

class LaidOutProfile {
 public:
  // The site kept in keep-sites.txt; its cookies and those of its hosts stay.
  static constexpr const char* kKeptSite = "bank.example.cn";

  LaidOutProfile();
  ~LaidOutProfile();
  LaidOutProfile(const LaidOutProfile&) = delete;
  LaidOutProfile& operator=(const LaidOutProfile&) = delete;

  const std::vector<LaidFile>& Files() const { return files_; }
  // The bytes of every laid-out file as laid out.
  const std::map<std::string, std::string>& Bytes() const { return bytes_; }
  // Files whose bytes are no longer as laid out (or that are gone).
  std::vector<std::string> Changed(const std::vector<const LaidFile*>& files) const;
  // The laid-out files the filter picks.
  template <typename F>
  std::vector<const LaidFile*> Where(F pick) const {
    std::vector<const LaidFile*> out;
    for (const LaidFile& f : files_)
      if (pick(f)) out.push_back(&f);
    return out;
  }
  // Totals of the files an item removes, as the report counts them.
  uint64_t ItemBytes(const std::string& item) const;
  uint64_t ItemFiles(const std::string& item) const;

  // The rows `sql` gives in the database at `db`, one "a|b" line each.
  static std::string Query(const std::string& db, const std::string& sql);

 private:
  void Write(const std::string& path, const char* program, const char* item, Laid laid, size_t size,
             bool old = false);
  void WriteText(const std::string& path, const char* program, const std::string& text);
  void MakeDatabase(const std::string& path, const char* program, Laid laid,
                    const std::string& sql);
  void Own(const std::string& path);
  void Chromium(const std::string& userData, const char* program, const char* prefix,
                const std::vector<std::string>& profiles, int cacheFiles);
  void Firefox();
  void Windows();

  std::string local_, roaming_, temp_;
  std::vector<LaidFile> files_;
  std::map<std::string, std::string> bytes_;
  std::vector<std::string> made_;  // files and top folders made here, removed afterwards
  std::string keptSitesBefore_;    // keep-sites.txt as it was, put back afterwards
};

}  // namespace itemtest
