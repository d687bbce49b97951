#include "cleanup/ItemEngine.h"

#include <windows.h>
#include <winternl.h>

#include "base/FileRead.h"
#include "base/Folders.h"
#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Seam.h"
#include "base/Text.h"
#include "cleanup/FileOps.h"

namespace cleanup {

namespace {

base::Seam<WinItemSystem> systemSeam;

constexpr size_t kMaxText = 16 << 20;

std::string WithoutTrailingSeparator(std::string s) {
  while (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

// The few ntdll calls that open a file by its name relative to a folder
// handle; present from Windows XP on, looked up once.
struct Ntdll {
  using OpenFile = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
                                    ULONG, ULONG);
  using FileInfo = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG,
                                    FILE_INFORMATION_CLASS);
  OpenFile openFile = nullptr;
  FileInfo queryInfo = nullptr;
  FileInfo setInfo = nullptr;

  Ntdll() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return;
    openFile = Find<OpenFile>(ntdll, "NtOpenFile");
    queryInfo = Find<FileInfo>(ntdll, "NtQueryInformationFile");
    setInfo = Find<FileInfo>(ntdll, "NtSetInformationFile");
  }
  template <typename F>
  static F Find(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
  bool Present() const { return openFile && queryInfo && setInfo; }
};

const Ntdll& Nt() {
  static const Ntdll nt;
  return nt;
}

constexpr NTSTATUS kNotFound = static_cast<NTSTATUS>(0xC0000034);      // OBJECT_NAME_NOT_FOUND
constexpr NTSTATUS kPathNotFound = static_cast<NTSTATUS>(0xC000003A);  // OBJECT_PATH_NOT_FOUND
constexpr NTSTATUS kDeletePending = static_cast<NTSTATUS>(0xC0000056);
constexpr NTSTATUS kIsFolder = static_cast<NTSTATUS>(0xC00000BA);  // FILE_IS_A_DIRECTORY
constexpr NTSTATUS kAccessDenied = static_cast<NTSTATUS>(0xC0000022);
constexpr ULONG kDirectoryFile = 0x00000001;  // FILE_DIRECTORY_FILE
constexpr ULONG kForBackup = 0x00004000;      // FILE_OPEN_FOR_BACKUP_INTENT
constexpr ULONG kCaseInsensitive = 0x00000040;  // OBJ_CASE_INSENSITIVE
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

struct BasicInfo {  // FILE_BASIC_INFORMATION
  LARGE_INTEGER creation, lastAccess, lastWrite, change;
  ULONG attributes;
};

// `name` in the folder `parent`, opened as itself: a link or junction there
// is not followed.
NTSTATUS OpenRelative(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share,
                      ULONG options, base::FileHandle& opened) {
  UNICODE_STRING text;
  text.Buffer = const_cast<wchar_t*>(name.c_str());
  text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes{};
  attributes.Length = sizeof attributes;
  attributes.RootDirectory = parent;
  attributes.ObjectName = &text;
  attributes.Attributes = kCaseInsensitive;
  IO_STATUS_BLOCK io{};
  HANDLE h = INVALID_HANDLE_VALUE;
  const NTSTATUS status = name.size() < 32768 ? Nt().openFile(&h, access, &attributes, &io, share,
                                                             options | FILE_OPEN_REPARSE_POINT)
                                              : kNotFound;
  opened.Reset(status >= 0 ? h : INVALID_HANDLE_VALUE);
  return status;
}

// A plain folder, not a link or junction that the open stopped at.
bool PlainFolder(HANDLE folder) {
  BasicInfo basic{};
  IO_STATUS_BLOCK io{};
  return Nt().queryInfo(folder, &io, &basic, sizeof basic, FileBasicInformation) >= 0 &&
         (basic.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(basic.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

class WinItemFolder : public ItemFolder {
 public:
  WinItemFolder(base::FileHandle handle, std::wstring name, bool removable)
      : handle_(std::move(handle)), name_(std::move(name)), removable_(removable) {}

  std::unique_ptr<ItemFolder> Open(const std::string& name) override {
    const std::wstring wide = base::Wide(name);
    const ULONG options = kDirectoryFile | kForBackup | FILE_SYNCHRONOUS_IO_NONALERT;
    base::FileHandle folder;
    // With the right to remove it once emptied, where the user has it.
    bool removable = true;
    if (OpenRelative(handle_.get(), wide, kFolderAccess | DELETE, kShareAll, options, folder) ==
        kAccessDenied) {
      removable = false;
      OpenRelative(handle_.get(), wide, kFolderAccess, kShareAll, options, folder);
    }
    if (!folder || !PlainFolder(folder.get())) return nullptr;
    // Under Wine a Linux link to a folder opens as the folder it leads to,
    // under that folder's name.
    std::wstring opened = OpenedName(folder.get());
    const std::wstring expected =
        name_ + (!name_.empty() && name_.back() == L'\\' ? L"" : L"\\") + wide;
    if (CompareStringOrdinal(opened.c_str(), static_cast<int>(opened.size()), expected.c_str(),
                             static_cast<int>(expected.size()), TRUE) != CSTR_EQUAL)
      return nullptr;
    return std::make_unique<WinItemFolder>(std::move(folder), std::move(opened), removable);
  }

  // Deleted when its handle closes; no sharing, so a file another program
  // holds open is refused.
  DeleteResult Delete(const std::string& name) override {
    base::FileHandle file;
    const NTSTATUS status = OpenRelative(handle_.get(), base::Wide(name), DELETE | SYNCHRONIZE, 0,
                                         FILE_NON_DIRECTORY_FILE | FILE_DELETE_ON_CLOSE, file);
    if (status >= 0) return DeleteResult::kDeleted;
    if (status == kNotFound || status == kPathNotFound || status == kDeletePending)
      return DeleteResult::kGone;
    return status == kIsFolder ? DeleteResult::kChanged : DeleteResult::kRefused;
  }

  // The file system refuses to mark a folder that is not empty.
  void RemoveIfEmpty() override {
    if (!removable_) return;
    FILE_DISPOSITION_INFO dispose{TRUE};
    IO_STATUS_BLOCK io{};
    Nt().setInfo(handle_.get(), &io, &dispose, sizeof dispose, FileDispositionInformation);
  }

 private:
  base::FileHandle handle_;
  std::wstring name_;  // as the file system names it, without the drive
  bool removable_;
};

}  // namespace

std::unique_ptr<ItemFolder> WinItemSystem::OpenFolder(const std::string& path) {
  if (!Nt().Present()) return nullptr;
  base::FileHandle folder(CreateFileW(base::Wide(base::ExtendedPath(path)).c_str(), kFolderAccess,
                                      kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
  if (!folder || !PlainFolder(folder.get())) return nullptr;
  std::wstring name = OpenedName(folder.get());
  if (name.empty()) return nullptr;
  // Opened by its path, never removed.
  return std::make_unique<WinItemFolder>(std::move(folder), std::move(name), false);
}

std::optional<std::string> WinItemSystem::ReadText(const std::string& path) {
  return base::ReadSmallFile(path, kMaxText);
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
