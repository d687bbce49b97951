#include "cleanup/TempTree.h"

#include <atomic>
#include <vector>

#include "base/Paths.h"
#include "ui/Handles.h"
#include "base/Text.h"

namespace cleanuptest {
namespace {

std::wstring Long(const std::string& path) { return base::Wide(base::ExtendedPath(path)); }

}  // namespace

std::string TempFolder() {
  std::wstring buf(MAX_PATH + 1, L'\0');
  DWORD n = GetTempPathW(static_cast<DWORD>(buf.size()), buf.data());
  buf.resize(n);
  std::wstring full(32768, L'\0');
  n = GetLongPathNameW(buf.c_str(), full.data(), static_cast<DWORD>(full.size()));
  if (n > 0 && n < full.size()) buf.assign(full.c_str(), n);
  std::string s = base::Utf8(buf);
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

TempTree::TempTree(const std::string& tag) {
  static std::atomic<int> counter{0};
  root_ = TempFolder() + "\\mirven-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  RemoveTree(root_);
  MakeFolders(root_);
}

TempTree::~TempTree() { RemoveTree(root_); }

std::string TempTree::Path(const std::string& relative) const { return root_ + "\\" + relative; }

void TempTree::Write(const std::string& relative, size_t bytes) const {
  WriteFile(Path(relative), bytes);
}

void TempTree::MakeFolder(const std::string& relative) const { MakeFolders(Path(relative)); }

bool Exists(const std::string& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Long(path).c_str()); }

void MakeFolders(const std::string& path) {
  size_t from = path.size() > 2 && path[1] == ':' ? 3 : 0;
  for (size_t cut = path.find('\\', from);; cut = path.find('\\', cut + 1)) {
    std::string part = cut == std::string::npos ? path : path.substr(0, cut);
    CreateDirectoryW(Long(part).c_str(), nullptr);
    if (cut == std::string::npos) break;
  }
}

void WriteFile(const std::string& path, size_t bytes) {
  size_t cut = path.rfind('\\');
  if (cut != std::string::npos) MakeFolders(path.substr(0, cut));
  base::FileHandle f(CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return;
  std::vector<char> data(bytes, 'x');
  DWORD written = 0;
  if (bytes) ::WriteFile(f.get(), data.data(), static_cast<DWORD>(bytes), &written, nullptr);
}

void RemoveTree(const std::string& path) {
  DWORD attrs = Attributes(path);
  if (attrs == INVALID_FILE_ATTRIBUTES) return;
  if (attrs & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(Long(path).c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(Long(path).c_str());
    return;
  }
  if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(base::Wide(base::ListPattern(path)).c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      std::vector<std::string> names;
      do {
        std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(base::Utf8(n));
      } while (FindNextFileW(find, &fd));
      FindClose(find);
      for (const std::string& n : names) RemoveTree(path + "\\" + n);
    }
  }
  RemoveDirectoryW(Long(path).c_str());
}

namespace {

// Runs `command` (the Linux names of `a` and `b` put in for %1 and %2)
// through the Linux shell, then waits until `path` exists, or no longer does (`gone`).
bool RunLinux(std::wstring command, const std::string& a, const std::string& b,
              const std::string& path, bool gone, DWORD timeoutMs) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  for (const std::string* p : {&a, &b}) {
    char* u = unixName(base::Wide(*p).c_str());
    if (!u) return false;
    const std::wstring name = base::Wide(u);
    HeapFree(GetProcessHeap(), 0, u);
    const wchar_t* mark = p == &a ? L"%1" : L"%2";
    for (size_t at; (at = command.find(mark)) != std::wstring::npos;) command.replace(at, 2, name);
  }
  // Wine starts Linux programs as it starts Windows ones.
  std::wstring cmd = L"/bin/sh -c \"" + command + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\sh", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // Wine does not follow a Linux child to its end: wait for its result.
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(Long(path).c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    if ((find != INVALID_HANDLE_VALUE) != gone) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

bool MakeLinuxSymlink(const std::string& target, const std::string& link) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  auto convert = [&](const std::string& p) {
    char* u = unixName(base::Wide(p).c_str());
    std::string s = u ? u : "";
    if (u) HeapFree(GetProcessHeap(), 0, u);
    return s;
  };
  std::string t = convert(target), l = convert(link);
  if (t.empty() || l.empty()) return false;
  // Wine starts Linux programs as it starts Windows ones.
  std::wstring cmd = L"/bin/ln -sfn \"" + base::Wide(t) + L"\" \"" + base::Wide(l) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\ln", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // Wine does not follow a Linux child to its end: wait for its result.
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(base::Wide(base::ExtendedPath(link)).c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      FindClose(find);
      return true;
    }
    Sleep(10);
  }
  return false;
}

bool CopyLinuxTree(const std::string& from, const std::string& to) {
  const std::string done = to + "\\copied";
  return RunLinux(L"cp -a '%1/.' '%2' && touch '%2/copied'", from, to, done, false, 600000);
}

bool RemoveLinuxTree(const std::string& path) {
  return RunLinux(L"rm -rf '%1'", path, path, path, true, 600000);
}

}  // namespace cleanuptest
