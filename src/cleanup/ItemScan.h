#pragma once
// Finding, sizing and cleaning the items of the table (CleanItems.h) over a
// small system interface: the folder lister, folders held open for the
// clean, small text files and the browsers' databases. The Windows engine
// (ItemEngine.h) is the real one; the tests lay out a profile in a
// temporary folder.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/DirectoryLister.h"
#include "cleanup/BrowserDatabases.h"
#include "cleanup/CleanAll.h"
#include "cleanup/CleanItems.h"

namespace cleanup {

class KeepList;
class KeepSites;
class ScanControl;

// A plain folder held open during a clean. What is opened or deleted in it
// is named relative to it, so a folder above swapped for a link or
// junction after the scan cannot redirect the clean elsewhere.
class ItemFolder {
 public:
  virtual ~ItemFolder() = default;
  // The sub-folder `name`, opened without following a link; null when it
  // is gone or no longer a plain folder.
  virtual std::unique_ptr<ItemFolder> Open(const std::string& name) = 0;
  // Deletes the file `name` for good: a link there is removed itself,
  // never what it leads to. kRefused while another program has it open,
  // kChanged when it is a folder now.
  virtual DeleteResult Delete(const std::string& name) = 0;
  // Removes this folder when it is empty.
  virtual void RemoveIfEmpty() = 0;
};

class ItemSystem {
 public:
  virtual ~ItemSystem() = default;
  virtual base::DirectoryLister& Lister() = 0;
  // The plain folder at `path`, not a link itself; null otherwise.
  virtual std::unique_ptr<ItemFolder> OpenFolder(const std::string& path) = 0;
  // A small text file whole (Local State, profiles.ini); nothing when it
  // cannot be read.
  virtual std::optional<std::string> ReadText(const std::string& path) = 0;
  virtual DbOutcome CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) = 0;
  virtual DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) = 0;
};

// The known folders the items' roots lie in, in the lister's form; an
// empty one has no items.
struct UserFolders {
  std::string localAppData;
  std::string roamingAppData;
  std::string temp;  // GetTempPathW
};

// Whether `temp` may be cleaned as the temporary folder: GetTempPathW falls
// back to the profile or the Windows folder when TEMP is unset, and a drive
// root or a folder holding `userFolders` (profile, Windows, Documents...) is
// no temporary folder.
bool UsableTempFolder(const std::string& temp, const std::vector<std::string>& userFolders);

struct ItemContext {
  UserFolders folders;
  // A temporary file last written before this, in the lister's time unit,
  // is old.
  uint64_t oldBefore = 0;
  // The user's keep-list: a kept path is neither listed nor removed.
  std::function<bool(const std::string& path)> keeps;
  // When given: false when nothing at or below `folder` is kept, which
  // spares the check of each file there.
  std::function<bool(const std::string& folder)> keepsWithin;
  // The sites whose cookies stay; null keeps none.
  const KeepSites* sites = nullptr;
  // Stops a scan between files; null runs to the end.
  ScanControl* control = nullptr;
};

// Sets `keeps` and `keepsWithin` from the keep-list, which must outlive
// the context.
void UseKeepList(ItemContext& context, const KeepList& keep);

struct ItemProfile {
  std::string folder;       // a Chromium profile, or Firefox's under Roaming
  std::string localFolder;  // Firefox's under Local (the caches); else `folder`
};

// The profiles of a browser item, in name order; none when the browser is
// not installed. Items without profiles give none.
std::vector<ItemProfile> FindProfiles(const CleanItem& item, ItemSystem& system,
                                      const UserFolders& folders);

struct FoundDatabase {
  BrowserDb db;
  std::string path;
  DbOutcome counted;
};

// What the scan found of one item: the clean removes exactly this.
struct ItemScan {
  const CleanItem* item = nullptr;
  uint64_t profiles = 0;  // profiles with something found
  uint64_t files = 0;
  uint64_t bytes = 0;
  uint64_t rows = 0;
  std::vector<FoundFile> found;
  // The folders the files lie in; those of folder contents and old entries
  // lose their emptied sub-folders (`prune`), themselves staying. The clean
  // opens the first `known` characters of `folder` (a known folder, or a
  // profile profiles.ini names) as they are, and the rest folder by folder.
  struct Root {
    std::string folder;
    size_t known = 0;
    bool prune = false;
  };
  std::vector<Root> roots;
  std::vector<FoundDatabase> databases;
  bool stopped = false;
  // A database the browser holds locked counts as found: the user is told.
  bool Found() const { return files > 0 || rows > 0 || !databases.empty(); }
};

ItemScan ScanItem(const CleanItem& item, ItemSystem& system, const ItemContext& context);

// Whether the item's program is installed: a browser with a profile, a
// Windows item whose root folder is there.
bool ItemPresent(const CleanItem& item, ItemSystem& system, const UserFolders& folders);

enum class ItemOutcome {
  kDone,            // removed what was found (files in use skipped and counted)
  kNothing,         // nothing found
  kSkippedRunning,  // the program runs: untouched
  kLocked,          // a database the browser holds: left as it was
  kPartlyFailed,    // a database could not be cleaned, or a clean was stopped
};

struct ItemResult {
  ItemOutcome outcome = ItemOutcome::kNothing;
  uint64_t files = 0;  // deleted for good, or already gone
  uint64_t bytes = 0;
  uint64_t rows = 0;
  uint64_t inUse = 0;  // in use, or a folder now: left
};

// Cleans what `scan` found: files deleted for good, inside the item's
// folders only (each reached anew from its known folder without following a
// link), never one of the user's own; emptied sub-folders of the cleaned
// folders; database rows through SQLite. `go` is asked before each file;
// false stops.
ItemResult CleanScanned(const ItemScan& scan, ItemSystem& system, const ItemContext& context,
                        const std::function<bool()>& go = nullptr);

// A clean without an earlier scan (the command line's, a schedule's): the
// item skipped as a whole while its program runs (`running`: the image
// names of this user's processes), else scanned and cleaned at once.
ItemResult ScanAndClean(const CleanItem& item, ItemSystem& system, const ItemContext& context,
                        const std::vector<std::string>& running);

// The report's name of an outcome: "done", "nothing", "skipped-running",
// "locked", "partly-failed".
const char* OutcomeName(ItemOutcome outcome);

// "124.5 MB": bytes in units of 1024 with one decimal ("812 B" below 1 KB).
std::string FormatItemSize(uint64_t bytes);
// "2,310"
std::string GroupedCount(uint64_t n);
// The scan's line: "Microsoft Edge 缓存（2 个配置文件，2,310 个文件）  124.5 MB".
std::string ItemScanLine(const ItemScan& scan);
// The clean's line for one item.
std::string ItemResultLine(const CleanItem& item, const ItemResult& result);

}  // namespace cleanup
