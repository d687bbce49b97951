#pragma once
// The one table of what is cleaned where: today's browsers' caches, cookies
// and history, and Windows' own caches. The scan and the clean both read it;
// each entry names the exact folders and files it removes, so what is not
// named is never touched, and a list of the user's own data is checked
// again as a last guard.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cleanup/BrowserDatabases.h"

namespace cleanup {

enum class ItemKind {
  kCache,
  kCookies,
  kHistory,
  kThumbnails,
  kCrashReports,
  kShaderCache,
  kOldTemp
};

// The known folder an item's root lies in.
enum class KnownRoot { kLocalAppData, kRoamingAppData, kTemp };

// How the program keeps its profiles below the item's root.
enum class ProfileRule {
  kNone,      // the root itself
  kChromium,  // User Data\Default, User Data\Profile N and those Local State lists
  kFirefox,   // profiles.ini under Roaming; caches under Local
};

// The folder a part lies below.
enum class PartBase {
  kRoot,          // the item's root (a Chromium browser's User Data)
  kProfile,       // each profile (Firefox: its folder under Roaming)
  kLocalProfile,  // each Firefox profile's folder under Local
};

enum class PartHow {
  kFolderContents,  // every file below the folder; emptied sub-folders go, the folder stays
  kFilesByPattern,  // the folder's own files whose names match `pattern`
  kWholeFile,       // one file, deleted whole
  kRows,            // database rows through SQLite (BrowserDb)
  kOldEntries,      // files below the folder not written for 7 days
};

struct ItemPart {
  PartBase base = PartBase::kRoot;
  const char* path = "";  // below `base`, "\" separated; "" for `base` itself
  PartHow how = PartHow::kFolderContents;
  const char* pattern = "";                    // kFilesByPattern: "thumbcache_*.db"
  BrowserDb db = BrowserDb::kChromiumCookies;  // kRows
  const char* olderPath = "";                  // kRows: where older versions keep the database
};

struct CleanItem {
  const char* program;  // "Microsoft Edge", "Windows"
  ItemKind kind;
  const char* name;     // "缓存"
  const char* cliName;  // "edge-cache"
  bool ticked;          // by default
  KnownRoot root;
  const char* rootPath;  // below the known folder, "\" separated
  ProfileRule profiles;
  std::vector<ItemPart> parts;
  std::vector<const char*> processes;  // "msedge.exe": any of them running means the program runs
};

// Every item, grouped by program in the order the options show them.
const std::vector<CleanItem>& CleanItems();
// The item of a command-line name (ASCII letters in any case); null for none.
const CleanItem* FindCleanItem(std::string_view cliName);

// The user's own data, never removed whatever is ticked: bookmarks,
// passwords, preferences, extensions and their settings, form data. True
// when `path` ("\" or "/" separated) names one of them or lies inside one.
bool NeverTouched(std::string_view path);

// "*" any run of characters, "?" one; ASCII letters in either case.
bool NameMatches(std::string_view pattern, std::string_view name);

// The running rule: a program with any of its processes among `running`
// (image names in any case) is skipped as a whole; the other items are
// cleaned in the same run.
bool ProgramRunning(const CleanItem& item, const std::vector<std::string>& running);
struct RunningSplit {
  std::vector<const CleanItem*> clean;
  std::vector<const CleanItem*> skipped;
  std::vector<std::string> lines;  // one per program skipped
};
RunningSplit SplitRunning(const std::vector<const CleanItem*>& chosen,
                          const std::vector<std::string>& running);
// "Microsoft Edge 正在运行，已跳过；关闭后再清理。"
std::string RunningLine(const CleanItem& item);

}  // namespace cleanup
