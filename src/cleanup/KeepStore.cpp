#include "cleanup/KeepStore.h"

#include <windows.h>

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Text.h"

namespace cleanup {

const char kKeepFileUnreadable[] =
    "无法读取保留列表文件 keep.txt，本次扫描不会跳过其中的文件。该文件保持原样，不会被改写。";
const char kKeepFileNotSaved[] =
    "无法保存保留列表文件 keep.txt（文件可能是只读的或正被其他程序使用），保留列表没有改变。";

std::string KeepUnreadableLinesNote(size_t lines) {
  return "保留列表文件 keep.txt 中有 " + std::to_string(lines) +
         " 行无法识别，已忽略。这些行仍原样保存在文件中。";
}

namespace {
// A keep-list is a few kilobytes; anything far larger is not one.
constexpr LONGLONG kMaxKeepFile = 16 << 20;
}  // namespace

KeepFile ReadKeepFile(const std::string& path) {
  KeepFile kf;
  std::string text;
  kf.state = ReadKeepText(path, text);
  if (kf.state != KeepFile::State::kRead) return kf;
  // Text in an encoding it cannot tell is never parsed, and so never
  // written back in a form that would lose it.
  std::optional<KeepList> list = KeepList::Read(text);
  if (!list) {
    kf.state = KeepFile::State::kUnreadable;
    return kf;
  }
  kf.list = std::move(*list);
  return kf;
}

KeepFile::State ReadKeepText(const std::string& path, std::string& text) {
  base::FileHandle f(CreateFileW(base::Wide(base::ExtendedPath(path)).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? KeepFile::State::kAbsent
               : KeepFile::State::kUnreadable;
  }
  LARGE_INTEGER size{};
  // Only a plain disk file: a device or pipe named keep.txt is never read.
  if (GetFileType(f.get()) != FILE_TYPE_DISK || !GetFileSizeEx(f.get(), &size) ||
      size.QuadPart > kMaxKeepFile)
    return KeepFile::State::kUnreadable;
  text.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!text.empty() &&
      (!ReadFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr) ||
       read != text.size()))
    return KeepFile::State::kUnreadable;
  return KeepFile::State::kRead;
}

bool WriteKeepFile(const std::string& path, const KeepList& list) {
  return WriteKeepText(path, list.Serialize());
}

bool WriteKeepText(const std::string& path, const std::string& text) {
  const std::wstring target = base::Wide(base::ExtendedPath(path));
  // A read-only list is one the user does not want changed; Windows would
  // refuse to replace it, and so do we, wherever we run.
  const DWORD attrs = GetFileAttributesW(target.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES &&
      (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  const size_t slash = target.find_last_of(L'\\');
  if (slash != std::wstring::npos) CreateDirectoryW(target.substr(0, slash).c_str(), nullptr);
  const std::wstring temp = target + L".new";
  bool ok = false;
  {
    base::FileHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ok = f && (text.empty() || (WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()),
                                          &written, nullptr) &&
                                written == text.size()));
    if (ok) ok = FlushFileBuffers(f.get()) != FALSE;
  }
  if (ok) ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace cleanup

namespace cleanup {

KeepForScan ReadKeepListForScan(const std::string& path) {
  KeepFile kf = ReadKeepFile(path);
  KeepForScan keep;
  keep.unknown = kf.state == KeepFile::State::kUnreadable;
  keep.warning = keep.unknown              ? std::string(kKeepFileUnreadable)
                 : kf.list.Unreadable() ? KeepUnreadableLinesNote(kf.list.Unreadable())
                                         : std::string();
  keep.list = std::move(kf.list);
  return keep;
}

std::string UpdateKeepFile(const std::string& path, const std::function<bool(KeepList&)>& change) {
  if (path.empty()) return kKeepFileNotSaved;
  KeepFile kf = ReadKeepFile(path);
  if (kf.state == KeepFile::State::kUnreadable) return kKeepFileUnreadable;
  if (!change(kf.list)) return "";
  return WriteKeepFile(path, kf.list) ? "" : kKeepFileNotSaved;
}

}  // namespace cleanup

namespace cleanup {

const char kKeepSitesUnreadable[] =
    "无法读取保留 Cookies 的网站列表文件 keep-sites.txt（它可能不是 UTF-8 文本或正被其他程序使用）。该文件保持原样，不会被改写。";
const char kKeepSitesNotSaved[] =
    "无法保存保留 Cookies 的网站列表文件 keep-sites.txt（文件可能是只读的或正被其他程序使用），网站列表没有改变。";

SitesFile ReadKeepSitesFile(const std::string& path) {
  SitesFile file;
  std::string text;
  file.state = ReadKeepText(path, text);
  if (file.state != KeepFile::State::kRead) return file;
  std::optional<KeepSites> sites = KeepSites::Read(text);
  if (sites)
    file.sites = std::move(*sites);
  else
    file.state = KeepFile::State::kUnreadable;
  return file;
}

std::string UpdateKeepSitesFile(const std::string& path,
                                const std::function<bool(KeepSites&)>& change) {
  if (path.empty()) return kKeepSitesNotSaved;
  SitesFile file = ReadKeepSitesFile(path);
  if (file.state == KeepFile::State::kUnreadable) return kKeepSitesUnreadable;
  if (!change(file.sites)) return "";
  return WriteKeepText(path, file.sites.Serialize()) ? "" : kKeepSitesNotSaved;
}

}  // namespace cleanup
