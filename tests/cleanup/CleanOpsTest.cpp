// Deleting listed files and clearing traces, on temporary files and the
// test prefix's own clipboard, URL cache and registry.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "base/Handles.h"
#include "base/WinLister.h"
#include "cleanup/CleanupText.h"
#include "cleanup/FileOps.h"
#include "cleanup/TempTree.h"
#include "cleanup/Traces.h"
#include "base/Text.h"

namespace {

using cleanup::DeleteIfUnchanged;
using cleanup::DeleteResult;
using cleanuptest::Exists;
using cleanuptest::TempTree;

cleanup::FileIdentity Seen(const std::string& path) {
  base::WinLister lister;
  cleanup::FileIdentity id;
  size_t cut = path.rfind('\\');
  lister.List(path.substr(0, cut), [&](const base::DirEntry& e) {
    if (e.name == path.substr(cut + 1)) id = cleanup::FileIdentity{e.size, e.lastWrite};
    return true;
  });
  return id;
}

TEST(CleanOps, DeletesOnlyTheFileTheScanSaw) {
  TempTree t("del");
  std::string deep = "deep";
  while (deep.size() < 300) deep += "\\folder-with-a-long-name";
  for (const char* name : {"same.tmp", "grown.tmp", "touched.tmp", "held.tmp", "ro.tmp"})
    t.Write(name, 100);
  t.Write(deep + "\\far.tmp", 100);
  const std::string unicode = t.Path("한글😀.tmp");
  cleanuptest::WriteFile(unicode, 100);
  auto seen = [&](const std::string& p) { return Seen(p); };

  EXPECT_EQ(DeleteIfUnchanged(t.Path("same.tmp"), seen(t.Path("same.tmp"))),
            DeleteResult::kDeleted);
  EXPECT_FALSE(Exists(t.Path("same.tmp")));
  EXPECT_EQ(DeleteIfUnchanged(t.Path(deep + "\\far.tmp"), seen(t.Path(deep + "\\far.tmp"))),
            DeleteResult::kDeleted);
  EXPECT_FALSE(Exists(t.Path(deep + "\\far.tmp")));
  EXPECT_EQ(DeleteIfUnchanged(unicode, seen(unicode)), DeleteResult::kDeleted);
  EXPECT_FALSE(Exists(unicode));

  cleanup::FileIdentity grown = seen(t.Path("grown.tmp"));
  t.Write("grown.tmp", 101);
  EXPECT_EQ(DeleteIfUnchanged(t.Path("grown.tmp"), grown), DeleteResult::kChanged);
  cleanup::FileIdentity touched = seen(t.Path("touched.tmp"));
  touched.lastWrite -= 10000000;  // one second earlier than it is now
  EXPECT_EQ(DeleteIfUnchanged(t.Path("touched.tmp"), touched), DeleteResult::kChanged);
  EXPECT_EQ(DeleteIfUnchanged(t.Path("missing.tmp"), {}), DeleteResult::kGone);
  t.MakeFolder("dir.tmp");
  EXPECT_NE(DeleteIfUnchanged(t.Path("dir.tmp"), {}), DeleteResult::kDeleted);

  // In use by another program: left alone.
  cleanup::FileIdentity held = seen(t.Path("held.tmp"));
  HANDLE h = CreateFileW(base::Wide(t.Path("held.tmp")).c_str(), GENERIC_READ, FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(DeleteIfUnchanged(t.Path("held.tmp"), held), DeleteResult::kRefused);
  CloseHandle(h);
  EXPECT_TRUE(Exists(t.Path("held.tmp")));
  EXPECT_EQ(DeleteIfUnchanged(t.Path("held.tmp"), held), DeleteResult::kDeleted);

  // A read-only junk file is refused, as the system refuses it.
  cleanup::FileIdentity ro = seen(t.Path("ro.tmp"));
  SetFileAttributesW(base::Wide(t.Path("ro.tmp")).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(DeleteIfUnchanged(t.Path("ro.tmp"), ro), DeleteResult::kRefused);
  EXPECT_TRUE(Exists(t.Path("ro.tmp")));
  EXPECT_TRUE(Exists(t.Path("grown.tmp")));
  EXPECT_TRUE(Exists(t.Path("touched.tmp")));
}

TEST(CleanOps, NothingIsDeletedThroughALink) {
  TempTree t("links"), outside("links-out");
  outside.Write("victim.tmp", 100);
  ASSERT_TRUE(cleanuptest::MakeLinuxSymlink(outside.Path("victim.tmp"), t.Path("alias.tmp")));
  EXPECT_NE(DeleteIfUnchanged(t.Path("alias.tmp"), Seen(t.Path("alias.tmp"))),
            DeleteResult::kDeleted);
  EXPECT_EQ(cleanup::DeleteFileEvenReadOnly(t.Path("alias.tmp")), DeleteResult::kChanged);
  EXPECT_TRUE(Exists(outside.Path("victim.tmp")));
  EXPECT_TRUE(Exists(t.Path("alias.tmp")));
}

// A file swapped for a folder after its check: the folder, and what the
// user keeps in it, never goes to the bin; the file beside it does.
TEST(CleanOps, AFolderInAFilesPlaceIsNeverRecycled) {
  TempTree t("swap");
  t.Write("000.tmp\\thesis.docx", 100);
  t.Write("001.tmp", 100);
  cleanup::WinRecycleBin bin;
  EXPECT_EQ(bin.Recycle({t.Path("000.tmp"), t.Path("001.tmp")}), (std::vector<bool>{false, true}));
  EXPECT_TRUE(cleanuptest::Exists(t.Path("000.tmp\\thesis.docx")));
  EXPECT_FALSE(cleanuptest::Exists(t.Path("001.tmp")));
}

// After the shell's move, a held file in the bin is ours; when it went
// elsewhere, what reached the bin from its path is a stranger.
TEST(CleanOps, WhatTheShellMovedIsTheHeldFileOrAStranger) {
  TempTree t("moved");
  t.Write("000.tmp", 100);
  t.Write("001.tmp", 100);
  t.MakeFolder("$Recycle.Bin\\S-1");
  auto hold = [&](const char* name) {
    return cleanup::HoldIfUnchanged(t.Path(name), Seen(t.Path(name)));
  };
  auto move = [&](const char* from, const char* to) {
    ASSERT_TRUE(MoveFileW(base::Wide(t.Path(from)).c_str(), base::Wide(t.Path(to)).c_str()));
  };
  base::FileHandle ours = hold("000.tmp"), swapped = hold("001.tmp");
  ASSERT_TRUE(ours && swapped);
  EXPECT_TRUE(cleanup::IsHeldFile(ours.get(), t.Path("000.tmp")));
  EXPECT_FALSE(cleanup::IsHeldFile(ours.get(), t.Path("001.tmp")));
  EXPECT_FALSE(cleanup::IsHeldFile(ours.get(), t.Path("missing.tmp")));

  move("000.tmp", "$Recycle.Bin\\S-1\\$R1.tmp");
  auto m =
      cleanup::WhatWasMoved(ours.get(), t.Path("000.tmp"), t.Path("$Recycle.Bin\\S-1\\$R1.tmp"));
  ASSERT_TRUE(m);
  EXPECT_EQ(m->result, DeleteResult::kRecycled);
  EXPECT_FALSE(m->stranger);

  move("001.tmp", "away.tmp");
  t.Write("001.tmp\\thesis.docx", 100);
  EXPECT_FALSE(cleanup::IsHeldFile(swapped.get(), t.Path("001.tmp")));
  move("001.tmp", "$Recycle.Bin\\S-1\\$R2.tmp");
  m = cleanup::WhatWasMoved(swapped.get(), t.Path("001.tmp"), t.Path("$Recycle.Bin\\S-1\\$R2.tmp"));
  ASSERT_TRUE(m);
  EXPECT_TRUE(m->stranger);
  EXPECT_EQ(m->inBin, t.Path("$Recycle.Bin\\S-1\\$R2.tmp"));
  EXPECT_NE(m->result, DeleteResult::kRecycled);
}

// What the shell took from a checked file's place goes back from the bin,
// with the bin's record of it; never over what stands there now.
TEST(CleanOps, AStrangerGoesBackFromTheBinNeverOverWhatIsThere) {
  TempTree t("putback");
  t.Write("bin\\$RAB12.tmp\\thesis.docx", 100);
  t.Write("bin\\$IAB12.tmp", 10);
  t.Write("bin\\$RCD34.tmp", 100);
  t.Write("taken.tmp", 5);
  cleanup::WinRecycleBin bin;
  EXPECT_TRUE(bin.PutBack(t.Path("bin\\$RAB12.tmp"), t.Path("000.tmp")));
  EXPECT_TRUE(Exists(t.Path("000.tmp\\thesis.docx")));
  EXPECT_FALSE(Exists(t.Path("bin\\$RAB12.tmp")));
  EXPECT_FALSE(Exists(t.Path("bin\\$IAB12.tmp")));
  EXPECT_FALSE(bin.PutBack(t.Path("bin\\$RCD34.tmp"), t.Path("taken.tmp")));
  EXPECT_TRUE(Exists(t.Path("bin\\$RCD34.tmp")));
  EXPECT_EQ(Seen(t.Path("taken.tmp")).size, 5u);
}

// The real checks, and right after the check of `swap` its file is replaced.
class SwappingDeleter : public cleanup::WinDeleter {
 public:
  std::string swap;
  std::function<void()> replace;
  std::optional<DeleteResult> Recheck(const std::string& path,
                                      const cleanup::FileIdentity& seen) override {
    auto r = WinDeleter::Recheck(path, seen);
    if (path == swap) replace();
    return r;
  }
};

// A file replaced after its check, by a folder or by another file: what
// took its place stays, and it is reported as changed, never as recycled.
TEST(CleanOps, AFileReplacedAfterItsCheckNeverGoesToTheBin) {
  for (bool folder : {true, false}) {
    TempTree t(folder ? "swap-folder" : "swap-file");
    t.Write("000.tmp", 100);
    t.Write("001.tmp", 100);
    std::vector<cleanup::FoundFile> files;
    for (const char* name : {"000.tmp", "001.tmp"})
      files.push_back({t.Path(name), Seen(t.Path(name)), 1});
    SwappingDeleter deleter;
    deleter.swap = t.Path("000.tmp");
    deleter.replace = [&] {
      ASSERT_TRUE(DeleteFileW(base::Wide(t.Path("000.tmp")).c_str()));
      t.Write(folder ? "000.tmp\\thesis.docx" : "000.tmp", 300);
    };
    cleanup::WinRecycleBin bin;
    std::vector<DeleteResult> results;
    cleanup::CleanTally tally = cleanup::CleanFiles(
        deleter, &bin, cleanup::CleanMode::kRecycle, files, [&](size_t, DeleteResult r) {
          results.push_back(r);
          return true;
        });
    ASSERT_EQ(results.size(), 2u);
    EXPECT_FALSE(cleanup::CleanTally::Done(results[0]));  // changed, or refused
    EXPECT_EQ(results[1], DeleteResult::kRecycled);
    EXPECT_EQ(tally.recycled, 1u);
    EXPECT_TRUE(Exists(t.Path(folder ? "000.tmp\\thesis.docx" : "000.tmp")));
    EXPECT_FALSE(Exists(t.Path("001.tmp")));
  }
}

TEST(CleanOps, CookiesTopLevelGoesFullSubFoldersAndLinksStay) {
  TempTree cookies("cookies"), outside("cookies-out");
  cookies.Write("a@site.txt", 10);
  cookies.Write("b@site.txt", 10);
  SetFileAttributesW(base::Wide(cookies.Path("b@site.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
  cookies.Write("full\\inner.txt", 10);
  cookies.MakeFolder("empty");
  outside.Write("precious.txt", 10);
  ASSERT_TRUE(cleanuptest::MakeLinuxSymlink(outside.Root(), cookies.Path("dirlink")));
  ASSERT_TRUE(
      cleanuptest::MakeLinuxSymlink(outside.Path("precious.txt"), cookies.Path("filelink")));
  // One held open by another program stays, and is counted; the store's
  // held index is not.
  cookies.Write("held@site.txt", 10);
  cookies.Write("index.dat", 10);
  base::FileHandle index(CreateFileW(base::Wide(cookies.Path("index.dat")).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  base::FileHandle held(CreateFileW(base::Wide(cookies.Path("held@site.txt")).c_str(),
                                    GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(cleanup::traces().ClearCookies(cookies.Root()), 1);
  EXPECT_TRUE(Exists(cookies.Path("held@site.txt")));
  EXPECT_FALSE(Exists(cookies.Path("a@site.txt")));
  EXPECT_FALSE(Exists(cookies.Path("b@site.txt")));
  EXPECT_FALSE(Exists(cookies.Path("empty")));
  EXPECT_TRUE(Exists(cookies.Path("full\\inner.txt")));
  EXPECT_TRUE(Exists(outside.Path("precious.txt")));
  EXPECT_EQ(cleanup::traces().ClearCookies(cookies.Path("no-such-folder")), -1);
  EXPECT_EQ(cleanup::traces().ClearCookies(""), -1);
}

// Records the order of the operations; the Cookies folder cannot be listed.
class RecordingTraces : public cleanup::Traces {
 public:
  std::vector<std::string> calls;
  std::string CookiesFolder() override { return "C:\\no\\such\\cookies"; }
  void EmptyRecycleBin(HWND) override { calls.push_back("bin"); }
  bool EmptyClipboard() override {
    calls.push_back("clipboard");
    return !clipboardBusy;
  }
  void ClearUrlCache() override { calls.push_back("cache"); }
  void ClearUrlHistory() override { calls.push_back("history"); }
  bool clipboardBusy = false;
  int64_t cookiesLeft = 0;
  int64_t ClearCookies(const std::string& folder) override {
    calls.push_back("cookies");
    return cookiesLeft ? cookiesLeft : Traces::ClearCookies(folder);
  }
  void ClearTypedUrls() override { calls.push_back("typed"); }
};

// Each option id reaches its own trace; a missing Cookies folder is done
// (nothing to clear), and the junk files are no trace. Cookie files that
// stay, or a clipboard held by another program, fail the option.
TEST(CleanOps, EachOptionIdClearsItsTrace) {
  RecordingTraces rec;
  cleanup::Traces* old = cleanup::SetTraces(&rec);
  cleanup::TraceCleaner cleaner(nullptr);
  std::vector<std::string> results;
  for (int k = 0; k < cleanup::kFirstItem; ++k) results.push_back(cleaner.Clear(k).Result());
  EXPECT_EQ(rec.calls,
            (std::vector<std::string>{"bin", "clipboard", "cache", "history", "cookies", "typed"}));
  EXPECT_EQ(results, (std::vector<std::string>{"done", "nothing", "done", "done", "done", "done",
                                               "done"}));
  EXPECT_FALSE(cleaner.Measure(cleanup::kCookies));
  rec.clipboardBusy = true;
  rec.cookiesLeft = 2;
  EXPECT_EQ(cleaner.Clear(cleanup::kClipboard).Result(), "failed");
  cleanup::OptionResult left = cleaner.Clear(cleanup::kCookies);
  EXPECT_EQ(left.Result(), "failed");
  EXPECT_EQ(left.Line(cleanup::kCookies), cleanup::CookiesLeftLine(2));
  cleanup::SetTraces(old);
}

TEST(CleanOps, TypedUrlsKeyIsDeletedAndAMissingOneIsFine) {
  HKEY key;
  const wchar_t* path = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  const wchar_t url[] = L"http://example.test/";
  RegSetValueExW(key, L"url1", 0, REG_SZ, reinterpret_cast<const BYTE*>(url), sizeof url);
  RegCloseKey(key);
  cleanup::traces().ClearTypedUrls();
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key), ERROR_SUCCESS);
  cleanup::traces().ClearTypedUrls();
}

TEST(CleanOps, ClipboardIsEmptiedEvenWhileAnotherThreadHoldsItBriefly) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 4 * sizeof(wchar_t));
  memcpy(GlobalLock(mem), L"abc", 4 * sizeof(wchar_t));
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

  // Another "program" holds the clipboard for a moment.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(opened);
    Sleep(300);
    CloseClipboard();
  });
  WaitForSingleObject(opened, 5000);
  EXPECT_TRUE(cleanup::traces().EmptyClipboard());
  holder.join();
  CloseHandle(opened);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(CleanOps, UrlCacheEntriesLargerThan4096BytesAreDeletedToo) {
  std::wstring longUrl = L"http://example.test/" + std::wstring(6000, L'a');
  std::wstring shortUrl = L"http://example.test/short";
  for (const std::wstring& url : {shortUrl, longUrl}) {
    wchar_t file[MAX_PATH + 1] = {};
    ASSERT_TRUE(CreateUrlCacheEntryW(url.c_str(), 0, L"txt", file, 0)) << GetLastError();
    HANDLE f = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n;
    ::WriteFile(f, "x", 1, &n, nullptr);
    CloseHandle(f);
    FILETIME zero{};
    ASSERT_TRUE(CommitUrlCacheEntryW(url.c_str(), file, zero, zero, NORMAL_CACHE_ENTRY, nullptr, 0,
                                     nullptr, nullptr))
        << GetLastError();
  }
  auto cached = [](const std::wstring& url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
  };
  ASSERT_TRUE(cached(longUrl));
  cleanup::traces().ClearUrlCache();
  EXPECT_FALSE(cached(shortUrl));
  EXPECT_FALSE(cached(longUrl));
}

}  // namespace
