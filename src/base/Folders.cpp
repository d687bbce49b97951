#include "base/Folders.h"

#include <cwchar>

#include "base/Text.h"

namespace base {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) result = Utf8(path);
  CoTaskMemFree(path);
  return result;
}

std::vector<std::string> LogicalDrives() {
  std::vector<std::string> drives;
  DWORD need = GetLogicalDriveStringsW(0, nullptr);
  if (need == 0) return drives;
  std::wstring buf(need + 1, L'\0');
  DWORD got = GetLogicalDriveStringsW(need, buf.data());
  if (got == 0 || got > need) return drives;
  for (const wchar_t* p = buf.c_str(); *p; p += wcslen(p) + 1) drives.push_back(Utf8(p));
  return drives;
}

}  // namespace base
