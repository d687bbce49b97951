#include "cleanup/ItemEngine.h"

#include <windows.h>

#include "base/FileRead.h"
#include "base/Folders.h"
#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Seam.h"
#include "base/Text.h"

namespace cleanup {

namespace {

base::Seam<WinItemSystem> systemSeam;

constexpr size_t kMaxText = 16 << 20;

std::string WithoutTrailingSeparator(std::string s) {
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

}  // namespace

std::optional<std::string> WinItemSystem::ReadText(const std::string& path) {
  return base::ReadSmallFile(path, kMaxText);
}

bool WinItemSystem::RemoveEmptyFolder(const std::string& folder) {
  base::FileHandle dir(
      CreateFileW(base::Wide(base::ExtendedPath(folder)).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  FILE_BASIC_INFO basic{};
  if (!dir || !GetFileInformationByHandleEx(dir.get(), FileBasicInfo, &basic, sizeof basic))
    return false;
  if (!(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return false;
  // The file system refuses to mark a folder that is not empty.
  FILE_DISPOSITION_INFO dispose{TRUE};
  return SetFileInformationByHandle(dir.get(), FileDispositionInfo, &dispose, sizeof dispose) !=
         FALSE;
}

DbOutcome WinItemSystem::CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return cleanup::CountRows(db, path, keep);
}

DbOutcome WinItemSystem::ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return cleanup::ClearRows(db, path, keep);
}

WinItemSystem& itemSystem() { return systemSeam.Get(); }
WinItemSystem* SetItemSystem(WinItemSystem* system) { return systemSeam.Set(system); }

UserFolders ThisUsersFolders() {
  UserFolders f;
  f.localAppData = WithoutTrailingSeparator(base::KnownFolder(FOLDERID_LocalAppData));
  f.roamingAppData = WithoutTrailingSeparator(base::KnownFolder(FOLDERID_RoamingAppData));
  std::wstring buf(MAX_PATH + 1, L'\0');
  DWORD n = GetTempPathW(static_cast<DWORD>(buf.size()), buf.data());
  if (n == 0 || n >= buf.size()) return f;
  buf.resize(n);
  std::wstring full(32768, L'\0');
  n = GetLongPathNameW(buf.c_str(), full.data(), static_cast<DWORD>(full.size()));
  if (n > 0 && n < full.size()) buf.assign(full.c_str(), n);
  std::string temp = WithoutTrailingSeparator(base::Utf8(buf));
  std::vector<std::string> own = {f.localAppData, f.roamingAppData};
  for (REFKNOWNFOLDERID id : {FOLDERID_Profile, FOLDERID_Windows, FOLDERID_Desktop,
                              FOLDERID_Documents, FOLDERID_Downloads, FOLDERID_ProgramFiles})
    own.push_back(base::KnownFolder(id));
  if (UsableTempFolder(temp, own)) f.temp = temp;
  return f;
}

uint64_t OldTempCutoff() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t t = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr uint64_t kWeek = 7ull * 24 * 3600 * 10000000;  // in 100 ns
  return t > kWeek ? t - kWeek : 0;
}

}  // namespace cleanup
