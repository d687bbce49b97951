#include <windows.h>
#include <shellapi.h>

#include "base/Paths.h"
#include "base/Text.h"
#include "cleanup/FileOps.h"

namespace cleanup {

bool WinRecycleBin::HasBin(const std::string& path) {
  // Only a drive letter's fixed disk; network paths ("\\server\share") have no bin.
  if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
  std::string root = path.substr(0, 2) + "\\";
  auto it = drives_.find(root);
  if (it == drives_.end())
    it = drives_.emplace(root, GetDriveTypeW(base::Wide(root).c_str()) == DRIVE_FIXED).first;
  return it->second;
}

namespace {

// The shell takes the paths one after another, each ended by a zero, the
// list by a second one. It cannot take paths beyond MAX_PATH: those stay.
bool Add(std::wstring& list, const std::string& path) {
  std::wstring w = base::Wide(path);
  if (w.size() >= MAX_PATH || w.find(L'\0') != std::wstring::npos) return false;
  list += w;
  list.push_back(L'\0');
  return true;
}

void MoveToBin(std::wstring list) {
  list.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
  SHFileOperationW(&op);
}

bool LeftItsPlace(const std::string& path) {
  DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(path)).c_str());
  DWORD error = attrs == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::vector<bool> WinRecycleBin::Recycle(const std::vector<std::string>& paths) {
  std::vector<bool> moved(paths.size(), false);
  std::wstring list;
  std::vector<bool> sent(paths.size(), false);
  bool any = false;
  for (size_t k = 0; k < paths.size(); ++k) {
    // Checked again at the last moment: a folder or link is never sent.
    const DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(paths[k])).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES ||
        (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      continue;
    sent[k] = Add(list, paths[k]);
    any = any || sent[k];
  }
  if (!any) return moved;
  MoveToBin(std::move(list));
  // Whatever the answer, a file no longer at its place has gone to the bin.
  for (size_t k = 0; k < paths.size(); ++k) moved[k] = sent[k] && LeftItsPlace(paths[k]);
  return moved;
}

std::vector<DeleteResult> WinRecycleBin::RecycleChecked(const std::vector<FoundFile>& files) {
  std::vector<DeleteResult> results(files.size(), DeleteResult::kRefused);
  // Each file is held open from its last check until after the shell's move,
  // so that the file itself tells where it went: a file put in its place
  // meanwhile is what the shell moved, and ours is not in the bin.
  std::vector<base::FileHandle> held(files.size());
  std::wstring list;
  bool any = false;
  for (size_t k = 0; k < files.size(); ++k) {
    held[k] = HoldIfUnchanged(files[k].path, files[k].identity);
    if (held[k] && !Add(list, files[k].path)) held[k].Reset();
    any = any || held[k];
  }
  if (!any) return results;
  MoveToBin(std::move(list));
  for (size_t k = 0; k < files.size(); ++k) {
    if (!held[k]) continue;
    HeldPlace place = WhereNow(held[k].get(), files[k].path);
    // A name the system still gives a file gone from its place says nothing.
    if (place == HeldPlace::kAtPath && LeftItsPlace(files[k].path)) place = HeldPlace::kUnknown;
    switch (place) {
      case HeldPlace::kAtPath: break;
      case HeldPlace::kInBin: results[k] = DeleteResult::kRecycled; break;
      case HeldPlace::kElsewhere: results[k] = DeleteResult::kChanged; break;
      case HeldPlace::kUnknown:
        if (LeftItsPlace(files[k].path)) results[k] = DeleteResult::kRecycled;
        break;
    }
  }
  return results;
}

}  // namespace cleanup
