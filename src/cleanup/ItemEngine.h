#pragma once
// The Windows side of the cleaning items: the system the scan and clean of
// ItemScan.h run on, behind a seam so tests can substitute it, and this
// user's folders.
#include <string>
#include <vector>

#include "base/WinLister.h"
#include "cleanup/ItemScan.h"

namespace cleanup {

class WinItemSystem : public ItemSystem {
 public:
  base::DirectoryLister& Lister() override { return lister_; }
  // Folders as handles opened on the folder itself; what lies in one is
  // opened by its name relative to that handle (ntdll's NtOpenFile), and a
  // file deleted through its own handle, in as many calls as DeleteFileW.
  std::unique_ptr<ItemFolder> OpenFolder(const std::string& path) override;
  // Up to 16 MB of a plain disk file.
  std::optional<std::string> ReadText(const std::string& path) override;
  DbOutcome CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) override;
  DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) override;

 private:
  base::WinLister lister_;
};

// The system in force; the real one unless a test installed another.
WinItemSystem& itemSystem();
WinItemSystem* SetItemSystem(WinItemSystem* system);

// This user's LocalAppData and RoamingAppData, and the temporary folder of
// GetTempPathW in its long form, left empty when it is no folder of its own
// (UsableTempFolder). No trailing "\".
UserFolders ThisUsersFolders();
// Seven days before now, as the lister counts last-write times (FILETIME).
uint64_t OldTempCutoff();

}  // namespace cleanup
