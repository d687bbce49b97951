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

std::vector<bool> WinRecycleBin::Recycle(const std::vector<std::string>& paths) {
  std::vector<bool> moved(paths.size(), false);
  // The shell takes the paths one after another, each ended by a zero, the
  // list by a second one. It cannot take paths beyond MAX_PATH: those stay.
  std::wstring list;
  std::vector<bool> sent(paths.size(), false);
  bool any = false;
  for (size_t k = 0; k < paths.size(); ++k) {
    const std::string& p = paths[k];
    std::wstring w = base::Wide(p);
    if (w.size() >= MAX_PATH || w.find(L'\0') != std::wstring::npos) continue;
    // Checked again at the last moment: a folder or link put in the file's
    // place since its check is never sent to the bin.
    const DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(p)).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES ||
        (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      continue;
    list += w;
    list.push_back(L'\0');
    sent[k] = any = true;
  }
  if (!any) return moved;
  list.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
  SHFileOperationW(&op);
  // Whatever the answer, a file no longer at its place has gone to the bin.
  for (size_t k = 0; k < paths.size(); ++k) {
    if (!sent[k]) continue;
    DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(paths[k])).c_str());
    DWORD error = attrs == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
    moved[k] = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  return moved;
}

}  // namespace cleanup
