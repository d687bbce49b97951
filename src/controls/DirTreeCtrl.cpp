#include "controls/DirTreeCtrl.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <set>
#include <vector>

#include "base/Folders.h"
#include "base/Paths.h"
#include "base/WinLister.h"
#include "controls/SortStringArray.h"
#include "base/Text.h"

namespace {

// Names in the user's sort order (as the shell lists them), ignoring case.
int CompareNames(const std::string& a, const std::string& b) {
  std::wstring wa = base::Wide(a), wb = base::Wide(b);
  int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, wa.c_str(),
                         static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
  return r == 0 ? base::CompareNoCaseAscii(a, b) : r - CSTR_EQUAL;
}

// The entries of one folder through the program's one lister (which
// leaves out "." and ".."); none when it cannot be read.
std::vector<base::DirEntry> Entries(const std::string& folder) {
  std::vector<base::DirEntry> entries;
  base::WinLister lister;
  if (lister.Read(folder, 0, entries) != base::ListResult::kListed) entries.clear();
  return entries;
}

// System image list index of a path's small icon, or -1. Paths too long
// for the shell get the icon of their kind (folder, or file by extension).
int ShellIconIndex(const std::string& path, UINT extra) {
  std::wstring wide = base::Wide(path);
  SHFILEINFOW info{};
  const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra;
  if (wide.size() < MAX_PATH && SHGetFileInfoW(wide.c_str(), 0, &info, sizeof info, flags))
    return info.iIcon;
  DWORD attributes = GetFileAttributesW(base::Wide(base::ExtendedPath(path)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
  std::wstring leaf = base::Wide(base::LeafName(path));
  if (SHGetFileInfoW(
          leaf.c_str(),
          attributes & FILE_ATTRIBUTE_DIRECTORY ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL,
          &info, sizeof info, flags | SHGFI_USEFILEATTRIBUTES))
    return info.iIcon;
  return -1;
}

bool IsReparsePoint(const std::string& path) {
  DWORD attributes = GetFileAttributesW(base::Wide(base::ExtendedPath(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Wait cursor and no redrawing for the lifetime of a bulk insertion.
class BulkInsert {
 public:
  explicit BulkInsert(HWND tree) : tree_(tree), cursor_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
  }
  ~BulkInsert() {
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
    SetCursor(cursor_);
  }
  BulkInsert(const BulkInsert&) = delete;
  BulkInsert& operator=(const BulkInsert&) = delete;

 private:
  HWND tree_;
  HCURSOR cursor_;
};

}  // namespace

BOOL CDirTreeCtrl::AttachSystemImageList() {
  imageList_ = nullptr;
  SHFILEINFOW info{};
  auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!list) {
    lastError_ = "Cannot retrive the Handle of system ImageList!";
    return FALSE;
  }
  imageList_ = list;
  SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
  return TRUE;
}

BOOL CDirTreeCtrl::LoadDriveItems() {
  SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  const std::vector<std::string> drives = base::LogicalDrives();
  if (drives.empty()) {
    lastError_ = "Error Getting Logical DriveStrings";
    return FALSE;
  }
  BulkInsert bulk(hwnd_);
  for (const std::string& drive : drives) {
    HTREEITEM item = InsertPathItem(drive, TVI_ROOT);
    if (item && HasVisibleChildren(drive)) AddPlaceholder(item);
  }
  return TRUE;
}

void CDirTreeCtrl::LoadFolderItems(HTREEITEM parent, const std::string& folder) {
  if (!base::IsDriveRoot(folder) && IsReparsePoint(folder)) return;
  CSorStringArray folders(CompareNames), files(CompareNames);
  std::set<std::string> links;
  const std::string prefix = base::WithSeparator(folder);
  for (const base::DirEntry& e : Entries(folder)) {
    std::string path = prefix + e.name;
    if (e.directory) {
      if (e.reparsePoint) links.insert(path);
      folders.Add(std::move(path));
    } else if (showFiles_) {
      files.Add(std::move(path));
    }
  }
  folders.SortNoCase();
  BulkInsert bulk(hwnd_);
  for (const std::string& path : folders.Items()) {
    HTREEITEM item = InsertPathItem(path, parent);
    if (!item) continue;
    if (links.count(path)) {
      TVITEMW tvi{};
      tvi.mask = TVIF_PARAM;
      tvi.hItem = item;
      tvi.lParam = kLinkItem;
      SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
    } else if (ListHasVisibleChildren(path)) {
      AddPlaceholder(item);
    }
  }
  if (showFiles_) {
    files.SortNoCase();
    for (const std::string& path : files.Items()) InsertPathItem(path, parent);
  }
}

HTREEITEM CDirTreeCtrl::InsertPathItem(const std::string& path, HTREEITEM parent) {
  std::string p = base::WithSeparator(path);
  int image = ShellIconIndex(p, 0);
  if (image < 0) {
    lastError_ = "Error Getting systemfileinfo!";
    return nullptr;
  }
  int selected = ShellIconIndex(p, SHGFI_OPENICON);
  if (selected < 0) {
    lastError_ = "Error Getting System FileInfo!";
    return nullptr;
  }
  p.pop_back();
  std::string text = parent == TVI_ROOT ? p : base::LeafName(p);
  return InsertItem(base::Wide(text), image, selected, parent, 0);
}

BOOL CDirTreeCtrl::HasVisibleChildren(const std::string& folder) {
  if (!base::IsDriveRoot(folder) && IsReparsePoint(folder)) return FALSE;
  return ListHasVisibleChildren(folder) ? TRUE : FALSE;
}

bool CDirTreeCtrl::ListHasVisibleChildren(const std::string& folder) const {
  for (const base::DirEntry& e : Entries(folder)) {
    if (e.directory) return true;
    if (showFiles_ && !e.hidden) return true;
  }
  return false;
}

std::string CDirTreeCtrl::PathOfItem(HTREEITEM item) const {
  std::vector<std::string> texts;
  for (HTREEITEM i = item; i; i = TreeView_GetParent(hwnd_, i)) texts.push_back(ItemText(i));
  std::reverse(texts.begin(), texts.end());
  return base::JoinItemPath(texts);
}

std::string CDirTreeCtrl::LeafName(const std::string& path) { return base::LeafName(path); }

void CDirTreeCtrl::ReloadItem(HTREEITEM item) {
  DeleteChildren(item);
  if (IsLinkItem(item)) return;
  LoadFolderItems(item, PathOfItem(item));
}

void CDirTreeCtrl::ResetItem(HTREEITEM item) {
  DeleteChildren(item);
  // Opening the item again must ask for its contents again.
  TVITEMW tvi{};
  tvi.mask = TVIF_STATE;
  tvi.hItem = item;
  tvi.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
  if (!IsLinkItem(item) && HasVisibleChildren(PathOfItem(item))) AddPlaceholder(item);
}

std::string CDirTreeCtrl::ItemText(HTREEITEM item) const {
  // A name is at most 255 characters; the buffer grows if one is longer.
  std::wstring buf(260, L'\0');
  for (;;) {
    TVITEMW tvi{};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = item;
    tvi.pszText = buf.data();
    tvi.cchTextMax = static_cast<int>(buf.size());
    if (!SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi))) return {};
    size_t n = std::wcslen(tvi.pszText);
    if (n + 1 < buf.size()) return base::Utf8(std::wstring_view(tvi.pszText, n));
    buf.resize(buf.size() * 2);
  }
}

bool CDirTreeCtrl::IsLinkItem(HTREEITEM item) const {
  TVITEMW tvi{};
  tvi.mask = TVIF_PARAM;
  tvi.hItem = item;
  return SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi)) &&
         tvi.lParam == kLinkItem;
}

HTREEITEM CDirTreeCtrl::InsertItem(const std::wstring& text, int image, int selectedImage,
                                   HTREEITEM parent, LPARAM data) {
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  ins.item.pszText = const_cast<wchar_t*>(text.c_str());
  ins.item.iImage = image;
  ins.item.iSelectedImage = selectedImage;
  ins.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void CDirTreeCtrl::AddPlaceholder(HTREEITEM item) { InsertItem(L"", 0, 0, item, 0); }

void CDirTreeCtrl::DeleteChildren(HTREEITEM item) {
  while (HTREEITEM child = TreeView_GetChild(hwnd_, item)) TreeView_DeleteItem(hwnd_, child);
}

bool CDirTreeCtrl::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  if (msg != WM_NOTIFY) return false;
  auto* nm = reinterpret_cast<NMTREEVIEWW*>(lp);
  if (nm->hdr.code == TVN_ITEMEXPANDINGW && (nm->action & TVE_EXPAND)) {
    ReloadItem(nm->itemNew.hItem);
  } else if (nm->hdr.code == TVN_ITEMEXPANDEDW && (nm->action & TVE_COLLAPSE)) {
    ResetItem(nm->itemNew.hItem);
  }
  // The owner sees the notifications too (and may still refuse to expand).
  return false;
}

void CDirTreeCtrl::ShowFolderTree() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(TVS_EDITLABELS);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
  TreeView_DeleteAllItems(hwnd_);
  if (AttachSystemImageList()) {
    SetShowFiles(false);
    LoadDriveItems();
  }
}
