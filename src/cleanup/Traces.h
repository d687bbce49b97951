#pragma once
// The user's traces the cleanup clears, and where the user's folders are.
// Everything goes through one object so that tests can point the folders
// at temporary ones and keep the recycle bin of the machine out of reach.
#include <windows.h>

#include <functional>
#include <string>

#include "cleanup/CleanupText.h"

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

  virtual void EmptyRecycleBin(HWND owner);
  // False when another program kept the clipboard for about a second.
  virtual bool EmptyClipboard();
  virtual void ClearUrlCache();
  virtual void ClearUrlHistory();
  // Clears the top level of the folder: files (read-only ones too) and
  // empty sub-folders; fuller sub-folders and links stay. False when the
  // folder cannot be listed.
  virtual bool ClearCookies(const std::string& folder);
  virtual void ClearTypedUrls();
};

// The traces in force; the real ones unless a test installed others.
Traces& traces();
// Installs `t` (nullptr restores the real ones); returns the previous one.
Traces* SetTraces(Traces* t);

// Clears the chosen options (indices of CleanOption) in index order and
// reports each one's completion line once it is done, whatever the result.
void CleanSelectedOptions(const bool (&chosen)[kOptionCount], HWND owner,
                          const std::function<void(const std::string&)>& done);

}  // namespace cleanup
