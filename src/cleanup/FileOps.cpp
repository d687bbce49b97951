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

base::FileHandle OpenForDelete(const std::string& path, DWORD& error) {
  // No sharing: a file another program holds open counts as in use.
  base::FileHandle file(CreateFileW(base::Wide(base::ExtendedPath(path)).c_str(),
                                    DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0,
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
                             DeleteResult& refused) {
  DWORD error = 0;
  base::FileHandle file = OpenForDelete(path, error);
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

bool DeleteFileEvenReadOnly(const std::string& path) {
  DWORD error = 0;
  base::FileHandle file = OpenForDelete(path, error);
  if (!file) return false;
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) return false;
  if (basic.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
    return false;
  if (!OpenedItself(file.get(), path)) return false;
  if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
    FILE_BASIC_INFO change{};  // times of 0 stay as they are
    change.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
    if (change.FileAttributes == 0) change.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(file.get(), FileBasicInfo, &change, sizeof change))
      return false;
  }
  return Dispose(file.get());
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
