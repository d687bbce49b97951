#pragma once
// The keep-list window, opened from the "清理选项" tab: shows keep.txt's
// paths and removes the chosen ones, and keeps the list of sites whose
// cookies a clean leaves (keep-sites.txt): adds and removes them. Every
// change is read from and written to the file at once, so the window and
// the page never disagree.
#include <optional>
#include <string>

#include "cleanup/CleanupList.h"
#include "cleanup/JunkListBox.h"
#include "cleanup/KeepList.h"
#include "controls/HSListBox.h"
#include "res/resource.h"
#include "controls/LayoutDialog.h"

class CKeepListDlg : public controls::LayoutDialog {
 public:
  CKeepListDlg(std::string file, std::string sitesFile)
      : controls::LayoutDialog(IDD_KEEP_LIST),
        file_(std::move(file)),
        sitesFile_(std::move(sitesFile)) {}

  CHSListBox& Entries() { return entries_; }
  CHSListBox& Sites() { return sites_; }
  // Removes the selected entries from the file and the list.
  void OnRemoveClicked();
  // Adds the site typed in the field; removes the selected sites.
  void OnAddSiteClicked();
  void OnRemoveSitesClicked();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  // False when the file is there but cannot be read.
  bool Reload();
  bool ReloadSites();
  void Say(const std::string& message);

  std::string file_;
  std::string sitesFile_;
  CHSListBox entries_;
  CHSListBox sites_;
};

namespace cleanup {

// The right-click menu of a file's line in the junk list: "不再清理此文件" or
// "不再清理此文件夹中的文件", then KeepSelectedLine. Other lines have no menu.
void KeepLineMenu(HWND owner, CJunkListBox& list, CleanupList& rows, int index, POINT screen);
// Keeps the selected line's file, or every file in its folder, from now
// on: it is added to keep.txt and what is kept now leaves the list.
void KeepSelectedLine(HWND owner, CJunkListBox& list, CleanupList& rows, bool folder);
// Adds the file, or its folder, to keep.txt; the path now kept, or nothing
// once the user was told why not (a whole drive, a file that cannot be saved).
std::optional<std::string> KeepFromNowOn(HWND owner, const std::string& file, bool folder);
// keep.txt for a scan; a damaged or unreadable file is told of once, until
// its warning changes.
KeepList ReadKeepListTelling(HWND owner, std::string& lastWarning);

}  // namespace cleanup
