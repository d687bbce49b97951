#include "base/WinLister.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Text.h"

namespace base {

namespace {

uint64_t Quad(const LARGE_INTEGER& v) { return static_cast<uint64_t>(v.QuadPart); }

}  // namespace

ListResult WinLister::Read(const std::string& folder, uint64_t id, std::vector<DirEntry>& entries) {
  entries.clear();
  const std::wstring path = Wide(ExtendedPath(folder));
  // A root that is itself a link or junction shows what lies elsewhere, as
  // its own attributes say whatever the handle below was opened on.
  if (id == 0 && !IsDriveRoot(folder)) {
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT))
      return ListResult::kNotFolder;
  }
  FileHandle dir(CreateFileW(
      path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!dir) return ListResult::kUnreadable;
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(dir.get(), FileBasicInfo, &basic, sizeof basic))
    return ListResult::kUnreadable;
  if (!(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return ListResult::kNotFolder;
  // A folder above this one swapped for a junction leads elsewhere: what
  // was opened is then not the folder the parent's listing showed.
  BY_HANDLE_FILE_INFORMATION self;
  if (id != 0 && GetFileInformationByHandle(dir.get(), &self)) {
    const uint64_t opened = (static_cast<uint64_t>(self.nFileIndexHigh) << 32) | self.nFileIndexLow;
    if (opened != 0 && opened != id) return ListResult::kNotFolder;
  }

  std::vector<uint64_t> buf(64 * 1024 / sizeof(uint64_t));
  DirEntry e;
  while (GetFileInformationByHandleEx(dir.get(), FileIdBothDirectoryInfo, buf.data(),
                                      static_cast<DWORD>(buf.size() * sizeof(uint64_t)))) {
    const auto* bytes = reinterpret_cast<const BYTE*>(buf.data());
    for (;;) {
      const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes);
      const wchar_t* n = info->FileName;
      const size_t len = info->FileNameLength / sizeof(wchar_t);
      const bool dots = (len == 1 && n[0] == L'.') || (len == 2 && n[0] == L'.' && n[1] == L'.');
      if (!dots) {
        e.name = Utf8(std::wstring(n, len));
        e.directory = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.reparsePoint = (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        e.hidden = (info->FileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        e.size = Quad(info->EndOfFile);
        e.lastWrite = Quad(info->LastWriteTime);
        e.id = Quad(info->FileId);
        entries.push_back(e);
      }
      if (info->NextEntryOffset == 0) break;
      bytes += info->NextEntryOffset;
    }
  }
  return ListResult::kListed;
}

}  // namespace base
