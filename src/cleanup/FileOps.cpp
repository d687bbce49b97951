#include "cleanup/FileOps.h"

#include <windows.h>

#include <vector>

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Text.h"

namespace cleanup {

namespace {

std::wstring Lower(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// Whether the open file is the very file at `path`, not one reached through
// a link: Wine shows Linux links to files as plain files, and deleting
// through one would delete what it points at.
bool OpenedItself(HANDLE file, const std::string& path) {
  const std::wstring name = OpenedName(file);
  if (name.empty()) return false;
  std::wstring expected = base::Wide(path);
  if (expected.size() >= 2 && expected[1] == L':')
    expected.erase(0, 2);
  else if (expected.rfind(L"\\\\", 0) == 0)
    expected.erase(0, 1);
  return Lower(name) == Lower(expected);
}

// No sharing: a file another program holds open counts as in use. A file
// only held, to know where it went, lets the shell move it.
base::FileHandle OpenForDelete(const std::string& path, DWORD& error, bool hold = false) {
  const DWORD access = hold ? FILE_READ_ATTRIBUTES
                            : DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
  const DWORD share = hold ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0;
  base::FileHandle file(CreateFileW(base::Wide(base::ExtendedPath(path)).c_str(), access, share,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  error = file ? ERROR_SUCCESS : GetLastError();
  return file;
}

bool Dispose(HANDLE file) {
  FILE_DISPOSITION_INFO dispose{TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

}  // namespace

std::wstring OpenedName(HANDLE file) {
  std::vector<BYTE> buf(sizeof(FILE_NAME_INFO) + 1024);
  for (;;) {
    if (GetFileInformationByHandleEx(file, FileNameInfo, buf.data(),
                                     static_cast<DWORD>(buf.size())))
      break;
    if (GetLastError() != ERROR_MORE_DATA || buf.size() > (1u << 20)) return {};
    buf.resize(buf.size() * 2);
  }
  const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buf.data());
  return Lower(std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t)));
}

namespace {

// Opens `path` and checks it is still the file the scan saw; an empty
// handle and the result otherwise.
base::FileHandle OpenUnchanged(const std::string& path, const FileIdentity& seen,
                               DeleteResult& refused, bool hold = false) {
  DWORD error = 0;
  base::FileHandle file = OpenForDelete(path, error, hold);
  refused = DeleteResult::kChanged;
  if (!file) {
    refused = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                  ? DeleteResult::kGone
                  : DeleteResult::kRefused;
    return file;
  }
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file.get(), &info)) {
    refused = DeleteResult::kRefused;
    return {};
  }
  uint64_t size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  uint64_t written = (static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                     info.ftLastWriteTime.dwLowDateTime;
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return {};
  if (size != seen.size || written != seen.lastWrite) return {};
  if (!OpenedItself(file.get(), path)) return {};
  return file;
}

}  // namespace

DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity& seen) {
  DeleteResult refused;
  base::FileHandle file = OpenUnchanged(path, seen, refused);
  if (!file) return refused;
  return Dispose(file.get()) ? DeleteResult::kDeleted : DeleteResult::kRefused;
}

std::optional<DeleteResult> RecheckUnchanged(const std::string& path, const FileIdentity& seen) {
  DeleteResult refused;
  if (OpenUnchanged(path, seen, refused)) return std::nullopt;
  return refused;
}

base::FileHandle HoldIfUnchanged(const std::string& path, const FileIdentity& seen) {
  DeleteResult refused;
  return OpenUnchanged(path, seen, refused, true);
}

HeldPlace WhereNow(HANDLE file, const std::string& path) {
  using FinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
  static const auto finalPath = reinterpret_cast<FinalPath>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (!finalPath) return HeldPlace::kUnknown;
  std::wstring name(1024, L'\0');
  DWORD n = finalPath(file, name.data(), static_cast<DWORD>(name.size()), 0);
  if (n >= name.size()) {
    name.resize(n + 1);
    n = finalPath(file, name.data(), static_cast<DWORD>(name.size()), 0);
  }
  if (n == 0 || n >= name.size()) return HeldPlace::kUnknown;
  name.resize(n);
  if (name.rfind(L"\\\\?\\", 0) == 0) name.erase(0, 4);
  const std::wstring was = base::Wide(path);
  if (Lower(name) == Lower(was)) return HeldPlace::kAtPath;
  // The bin of a drive is a folder of its own on that drive; a file the
  // bin moved off the drive altogether is in a bin kept elsewhere.
  const std::wstring lower = Lower(name);
  const bool sameDrive = name.size() >= 2 && was.size() >= 2 && name[1] == L':' &&
                         Lower(name.substr(0, 2)) == Lower(was.substr(0, 2));
  if (!sameDrive || lower.find(L"\\$recycle.bin\\") != std::wstring::npos ||
      lower.find(L"\\recycler\\") != std::wstring::npos)
    return HeldPlace::kInBin;
  return HeldPlace::kElsewhere;
}

bool IsHeldFile(HANDLE file, const std::string& path) {
  base::FileHandle other(
      CreateFileW(base::Wide(base::ExtendedPath(path)).c_str(), FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!other || !GetFileInformationByHandle(file, &a) ||
      !GetFileInformationByHandle(other.get(), &b))
    return false;
  // A volume whose serial cannot be read through a handle (0) does not
  // count against the match: the bin holding `path` is on the file's drive.
  const bool sameVolume = a.dwVolumeSerialNumber == b.dwVolumeSerialNumber ||
                          a.dwVolumeSerialNumber == 0 || b.dwVolumeSerialNumber == 0;
  return sameVolume && a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

std::optional<BinMove> WhatWasMoved(HANDLE file, const std::string& path, const std::string& inBin) {
  BinMove move;
  const HeldPlace place = WhereNow(file, path);
  if ((!inBin.empty() && IsHeldFile(file, inBin)) || place == HeldPlace::kInBin) {
    move.result = DeleteResult::kRecycled;
    return move;
  }
  if (place == HeldPlace::kUnknown) return std::nullopt;
  // Ours is not in the bin, so what the shell took from its path is not ours.
  move.stranger = true;
  move.inBin = inBin;
  return move;
}

DeleteResult DeleteFileEvenReadOnly(const std::string& path) {
  DWORD error = 0;
  base::FileHandle file = OpenForDelete(path, error);
  if (!file)
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DeleteResult::kGone
                                                                          : DeleteResult::kRefused;
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
    return DeleteResult::kRefused;
  if (basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
    return DeleteResult::kChanged;
  if (!OpenedItself(file.get(), path)) return DeleteResult::kChanged;
  if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
    FILE_BASIC_INFO change{};  // times of 0 stay as they are
    change.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
    if (change.FileAttributes == 0) change.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(file.get(), FileBasicInfo, &change, sizeof change))
      return DeleteResult::kRefused;
  }
  return Dispose(file.get()) ? DeleteResult::kDeleted : DeleteResult::kRefused;
}

uint64_t DriveUsedKB(const std::string& drive) {
  ULARGE_INTEGER freeToCaller, total, free;
  std::string root = base::WithSeparator(drive);
  if (!GetDiskFreeSpaceExW(base::Wide(root).c_str(), &freeToCaller, &total, &free)) return 0;
  return (total.QuadPart - free.QuadPart) >> 10;
}

bool IsLinkFolder(const std::string& folder) {
  DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(folder)).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace cleanup
