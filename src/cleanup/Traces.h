#pragma once
// The user's traces the cleanup clears, and where the user's folders are.
// Everything goes through one object so that tests can point the folders
// at temporary ones and keep the recycle bin of the machine out of reach.
#include <windows.h>

#include <cstdint>
#include <string>

#include "cleanup/CleanupRun.h"
#include "cleanup/ItemOptions.h"
#include "cleanup/KeepStore.h"

namespace cleanup {

class Traces {
 public:
  virtual ~Traces() = default;
  // The user's profile folder, the first scan root; "" when unknown.
  virtual std::string ProfileFolder();
  // The browser's Cookies folder; "" when unknown.
  virtual std::string CookiesFolder();
  // The keep-list, %APPDATA%\Mirven\keep.txt; "" when unknown.
  virtual std::string KeepListFile();
  // The sites whose cookies stay, %APPDATA%\Mirven\keep-sites.txt; "" when unknown.
  virtual std::string KeepSitesFile();
  // The page's remembered ticks, %APPDATA%\Mirven\options.txt; "" when unknown.
  virtual std::string OptionsFile();

  // What the Recycle Bins of all drives hold; false when it cannot be told.
  virtual bool RecycleBinContents(uint64_t& files, uint64_t& bytes);
  virtual void EmptyRecycleBin(HWND owner);
  // False when another program kept the clipboard for about a second.
  virtual bool EmptyClipboard();
  virtual void ClearUrlCache();
  virtual void ClearUrlHistory();
  // Clears the top level of the folder: files (read-only ones too) and
  // empty sub-folders; fuller sub-folders and links stay. The number of
  // files in use or denied, that stayed; -1 when the folder
  // cannot be listed.
  virtual int64_t ClearCookies(const std::string& folder);
  virtual void ClearTypedUrls();
};

// The traces in force; the real ones unless a test installed others.
Traces& traces();
// Installs `t` (nullptr restores the real ones); returns the previous one.
Traces* SetTraces(Traces* t);

// The options' engine over the traces in force and today's programs'
// items. `owner` is the window the system's own progress shows over; none
// for a command-line run. `keep` is the run's keep-list.
class TraceCleaner : public OptionCleaner {
 public:
  explicit TraceCleaner(HWND owner, KeepList keep = KeepList());
  std::optional<OptionResult> Measure(int option) override;
  OptionResult Clear(int option) override;

 private:
  HWND owner_;
  KeepList keep_;
  SitesFile sites_;
  ItemOptions items_;
};

}  // namespace cleanup
