#pragma once
// A tree of the computer's drives and, below them, their folders (and, if
// asked, files) with the shell's small icons. Each level is listed only
// when it is opened, and listed afresh every time. Folders that are
// reparse points (junctions, symbolic links, mount points) are shown but
// never opened: they lead elsewhere or back up the tree.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/Window.h"

class CDirTreeCtrl : public ui::Window {
 public:
  // Item data of an item that is a reparse point.
  static constexpr LPARAM kLinkItem = 1;

  // Makes the shell's small-icon image list the tree's normal image list
  // (shared with the system: never destroyed here). FALSE on failure.
  BOOL AttachSystemImageList();
  // Replaces the whole tree by one item per drive. FALSE when the drives
  // cannot be listed (the tree is then empty).
  BOOL LoadDriveItems();
  // Lines and buttons, no label editing, folders only, the drives loaded.
  void ShowFolderTree();
  // Inserts the folders of `folder` (then, with show files, its files)
  // below `parent`, sorted by name without regard to case.
  void LoadFolderItems(HTREEITEM parent, const std::string& folder);
  // Inserts one item for `path` below `parent` (TVI_ROOT: a drive, whose
  // text is "C:"; else the path's last component). nullptr on failure.
  HTREEITEM InsertPathItem(const std::string& path, HTREEITEM parent);
  // Whether `folder` holds a sub-folder (hidden ones too) or, with show
  // files, a file that is not hidden. FALSE for a reparse point and for a
  // folder that cannot be listed.
  BOOL HasVisibleChildren(const std::string& folder);
  // Full path of an item: "C:" for a drive, "C:\Windows\System32" below.
  std::string PathOfItem(HTREEITEM item) const;
  static std::string LeafName(const std::string& path);
  // Lists the item's folder again in place of its current children.
  void ReloadItem(HTREEITEM item);
  // Drops the item's children and gives it back the expand button it had
  // before it was first opened (what collapsing does).
  void ResetItem(HTREEITEM item);

  std::string ItemText(HTREEITEM item) const;
  bool IsLinkItem(HTREEITEM item) const;

  // The tree opens and closes its items by itself (TVN_ITEMEXPANDING,
  // TVN_ITEMEXPANDED); the owner still gets both notifications.
  void SetShowFiles(bool on) { showFiles_ = on; }
  bool ShowFiles() const { return showFiles_; }
  const std::string& LastErrorText() const { return lastError_; }
  HIMAGELIST ImageList() const { return imageList_; }

 protected:
  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  bool ListHasVisibleChildren(const std::string& folder) const;
  HTREEITEM InsertItem(const std::wstring& text, int image, int selectedImage, HTREEITEM parent,
                       LPARAM data);
  void AddPlaceholder(HTREEITEM item);
  void DeleteChildren(HTREEITEM item);

  HIMAGELIST imageList_ = nullptr;
  bool showFiles_ = false;
  std::string lastError_;
};
