#include "cleanup/Traces.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <urlhist.h>
#include <wininet.h>

#include <vector>

#include "base/Folders.h"
#include "base/Paths.h"
#include "base/Seam.h"
#include "base/Text.h"
#include "base/WinLister.h"
#include "cleanup/FileOps.h"
#include "cleanup/ItemEngine.h"
#include "cleanup/RunningPrograms.h"

namespace cleanup {
namespace {

constexpr CLSID kUrlHistoryClass = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
constexpr IID kUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};
constexpr wchar_t kTypedUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

base::Seam<Traces> seam;

// An enumeration call of the URL cache with a buffer that grows to what
// the entry needs.
template <typename Call>
bool WithEntry(std::vector<BYTE>& buf, Call call) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = static_cast<DWORD>(buf.size());
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buf.data());
    entry->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
    if (call(entry, &size)) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buf.size()) return false;
    buf.resize(size);
  }
  return false;
}

// The cookie store's own index, held by the system whenever Internet
// Explorer's engine is loaded.
bool IsCookieIndex(const std::string& name) {
  const std::wstring wide = base::Wide(name);
  return CompareStringOrdinal(wide.c_str(), static_cast<int>(wide.size()), L"index.dat", -1, TRUE) ==
         CSTR_EQUAL;
}

}  // namespace

Traces& traces() { return seam.Get(); }
Traces* SetTraces(Traces* t) { return seam.Set(t); }

std::string Traces::ProfileFolder() { return base::KnownFolder(FOLDERID_Profile); }
std::string Traces::CookiesFolder() { return base::KnownFolder(FOLDERID_Cookies); }
namespace {
// A file of ours in %APPDATA%\Mirven; "" when the folder is unknown.
std::string OwnFile(const char* name) {
  std::string appData = base::KnownFolder(FOLDERID_RoamingAppData);
  return appData.empty() ? appData : appData + "\\Mirven\\" + name;
}
}  // namespace

std::string Traces::KeepListFile() { return OwnFile("keep.txt"); }
std::string Traces::KeepSitesFile() { return OwnFile("keep-sites.txt"); }
std::string Traces::OptionsFile() { return OwnFile("options.txt"); }

bool Traces::RecycleBinContents(uint64_t& files, uint64_t& bytes) {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(SHQueryRecycleBinW(nullptr, &info))) return false;
  files = static_cast<uint64_t>(info.i64NumItems);
  bytes = static_cast<uint64_t>(info.i64Size);
  return true;
}

void Traces::EmptyRecycleBin(HWND owner) {
  // Without an owner (a command-line run) no progress window shows either.
  SHEmptyRecycleBinW(owner, nullptr,
                     SHERB_NOCONFIRMATION | (owner ? 0 : SHERB_NOPROGRESSUI | SHERB_NOSOUND));
}

bool Traces::EmptyClipboard() {
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(nullptr)) {
      ::EmptyClipboard();
      CloseClipboard();
      return true;
    }
    Sleep(50);
  }
  return false;
}

void Traces::ClearUrlCache() {
  std::vector<BYTE> buf(4096);
  HANDLE find = nullptr;
  bool have = WithEntry(buf, [&](INTERNET_CACHE_ENTRY_INFOW* e, DWORD* size) {
    find = FindFirstUrlCacheEntryW(nullptr, e, size);
    return find != nullptr;
  });
  if (!find) return;
  while (have) {
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buf.data());
    if (entry->lpszSourceUrlName) DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
    have = WithEntry(buf, [&](INTERNET_CACHE_ENTRY_INFOW* e, DWORD* size) {
      return FindNextUrlCacheEntryW(find, e, size) != FALSE;
    });
  }
  FindCloseUrlCache(find);
}

void Traces::ClearUrlHistory() {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IUrlHistoryStg2* history = nullptr;
  if (SUCCEEDED(CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER, kUrlHistoryStg2,
                                 reinterpret_cast<void**>(&history))) &&
      history) {
    history->ClearHistory();
    history->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
}

int64_t Traces::ClearCookies(const std::string& folder) {
  if (folder.empty()) return -1;
  base::WinLister lister;
  int64_t left = 0;
  const bool listed = lister.List(folder, [&](const base::DirEntry& e) {
    // A link leads elsewhere: neither it nor what it points at is touched.
    if (e.reparsePoint) return true;
    std::string path = base::JoinPath(folder, e.name, '\\');
    if (!e.directory) {
      // A held index is no cookie left behind.
      if (DeleteFileEvenReadOnly(path) == DeleteResult::kRefused && !IsCookieIndex(e.name)) ++left;
      return true;
    }
    std::wstring wide = base::Wide(base::ExtendedPath(path));
    DWORD attrs = GetFileAttributesW(wide.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesW(wide.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    RemoveDirectoryW(wide.c_str());  // only an empty one goes
    return true;
  });
  return listed ? left : -1;
}

void Traces::ClearTypedUrls() { RegDeleteKeyW(HKEY_CURRENT_USER, kTypedUrlsKey); }

namespace {

void Failed(OptionResult& result, std::string line) {
  result.state = OptionResult::State::kFailed;
  result.line = std::move(line);
}

ItemContext ItemsOfThisUser(const KeepList& keep) {
  ItemContext context;
  context.folders = ThisUsersFolders();
  context.oldBefore = OldTempCutoff();
  UseKeepList(context, keep);
  return context;
}

}  // namespace

TraceCleaner::TraceCleaner(HWND owner, KeepList keep)
    : owner_(owner),
      keep_(std::move(keep)),
      sites_(ReadKeepSitesFile(traces().KeepSitesFile())),
      items_(itemSystem(), ItemsOfThisUser(keep_),
             sites_.state == KeepFile::State::kUnreadable ? nullptr : &sites_.sites,
             [] { return runningPrograms().ProcessNames(); }) {}

std::optional<OptionResult> TraceCleaner::Measure(int option) {
  if (OptionItem(option)) return items_.Measure(option);
  OptionResult held;
  if (option != kRecycleBin || !traces().RecycleBinContents(held.files, held.bytes))
    return std::nullopt;
  return held;
}

OptionResult TraceCleaner::Clear(int option) {
  if (OptionItem(option)) return items_.Clear(option);
  Traces& t = traces();
  OptionResult result;
  switch (option) {
    case kRecycleBin: t.EmptyRecycleBin(owner_); break;
    case kClipboard:
      if (!t.EmptyClipboard()) Failed(result, kClipboardBusy);
      break;
    case kUrlCache: t.ClearUrlCache(); break;
    case kUrlHistory: t.ClearUrlHistory(); break;
    case kCookies:
      // A folder that is not there holds no cookies; files that stay are told.
      if (int64_t left = t.ClearCookies(t.CookiesFolder()); left > 0)
        Failed(result, CookiesLeftLine(static_cast<uint64_t>(left)));
      break;
    case kTypedUrls: t.ClearTypedUrls(); break;
    default: result.state = OptionResult::State::kNothing; break;
  }
  return result;
}

}  // namespace cleanup
