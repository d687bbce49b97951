#include "cleanup/WinLister.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "controls/TreePaths.h"
#include "ui/Handles.h"
#include "ui/Text.h"

namespace cleanup {

namespace {

std::wstring Lower(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

uint64_t Quad(const LARGE_INTEGER& v) { return static_cast<uint64_t>(v.QuadPart); }

}  // namespace

bool NameOfOpenFile(void* handle, std::string& name) {
  std::vector<uint64_t> buf((sizeof(FILE_NAME_INFO) + 1024) / sizeof(uint64_t) + 1);
  for (;;) {
    const DWORD bytes = static_cast<DWORD>(buf.size() * sizeof(uint64_t));
    if (GetFileInformationByHandleEx(handle, FileNameInfo, buf.data(), bytes)) break;
    if (GetLastError() != ERROR_MORE_DATA || bytes > (1u << 20)) return false;
    buf.resize(buf.size() * 2);
  }
  const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buf.data());
  name = ui::Utf8(std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t)));
  return true;
}

bool SameFileName(const std::string& a, const std::string& b) {
  return Lower(ui::Wide(a)) == Lower(ui::Wide(b));
}

ListResult WinLister::Read(const std::string& folder, std::vector<DirEntry>& entries) {
  entries.clear();
  ui::FileHandle dir(CreateFileW(ui::Wide(tree::ExtendedPath(folder)).c_str(),
                                 FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!dir) return ListResult::kUnreadable;
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandleEx(dir.get(), FileBasicInfo, &basic, sizeof basic))
    return ListResult::kUnreadable;
  if (!(basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return ListResult::kNotFolder;
  // A folder above this one swapped for a junction leads elsewhere: the
  // name of what was opened then differs from the one below the root.
  std::string real, expected;
  const bool named = NameOfOpenFile(dir.get(), real);
  if (anchor_.Expected(folder, expected)) {
    if (named && !SameFileName(real, expected)) return ListResult::kNotFolder;
  } else {
    anchor_.Set(folder, named ? real : std::string());
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
        e.name = ui::Utf8(std::wstring(n, len));
        e.directory = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.reparsePoint = (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        e.size = Quad(info->EndOfFile);
        e.lastWrite = Quad(info->LastWriteTime);
        entries.push_back(e);
      }
      if (info->NextEntryOffset == 0) break;
      bytes += info->NextEntryOffset;
    }
  }
  return ListResult::kListed;
}

}  // namespace cleanup
