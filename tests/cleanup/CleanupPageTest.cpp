// The cleanup page on a temporary folder tree: scanning, pausing and
// stopping, cleaning one file and all of them, and what stays untouched.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "cleanup/OptionList.h"
#include "cleanup/CleanItems.h"
#include "cleanup/CleanupText.h"
#include "cleanup/FileOps.h"
#include "cleanup/KeepListDlg.h"
#include "cleanup/KeepStore.h"
#include "cleanup/MirvenComputerHelperDlg.h"
#include "cleanup/TempTree.h"
#include "cleanup/Traces.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "base/Folders.h"
#include "base/Text.h"

namespace {

using cleanuptest::Exists;
using cleanuptest::TempTree;

// Folders of the test instead of the user's; the recycle bin only counted
// unless `emptyBin` (each test run has a trash of its own, see wine-run.sh).
class FakeTraces : public cleanup::Traces {
 public:
  std::string profile, cookies, keepFile, keepSitesFile, optionsFile;
  int recycleBins = 0;
  bool emptyBin = false;
  DWORD cleanThread = 0;
  std::string ProfileFolder() override { return profile; }
  std::string CookiesFolder() override { return cookies; }
  std::string KeepListFile() override { return keepFile; }
  // What the bin holds, as this run's trash tells it.
  bool RecycleBinContents(uint64_t& files, uint64_t& bytes) override;
  std::string KeepSitesFile() override { return keepSitesFile; }
  std::string OptionsFile() override { return optionsFile; }
  void EmptyRecycleBin(HWND owner) override {
    ++recycleBins;
    cleanThread = GetCurrentThreadId();
    if (emptyBin) cleanup::Traces::EmptyRecycleBin(owner);
  }
};

// The names of the files in Wine's Recycle Bin: the XDG trash of this run.
std::vector<std::string> TrashNames() {
  std::vector<std::string> names;
  std::wstring home(4096, L'\0');
  home.resize(GetEnvironmentVariableW(L"XDG_DATA_HOME", home.data(), 4096));
  if (home.empty()) return names;
  for (wchar_t& c : home)
    if (c == L'/') c = L'\\';
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((L"Z:" + home + L"\\Trash\\files\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring n = fd.cFileName;
    if (n != L"." && n != L"..") names.push_back(base::Utf8(n));
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

bool FakeTraces::RecycleBinContents(uint64_t& files, uint64_t& bytes) {
  files = TrashNames().size();
  bytes = files * 2048;
  return true;
}

std::string ReadAll(const std::string& path) {
  HANDLE f = CreateFileW(base::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<none>";
  std::string text(65536, '\0');
  DWORD n = 0;
  ReadFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  CloseHandle(f);
  text.resize(n);
  return text;
}

// Shift held down for this thread while it lives.
class ShiftDown {
 public:
  ShiftDown() {
    GetKeyboardState(old_);
    BYTE keys[256];
    std::copy(old_, old_ + 256, keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
  }
  ~ShiftDown() { SetKeyboardState(old_); }

 private:
  BYTE old_[256];
};

class ScopedTraces {
 public:
  ScopedTraces() { old_ = cleanup::SetTraces(&fake); }
  ~ScopedTraces() { cleanup::SetTraces(old_); }
  FakeTraces fake;

 private:
  cleanup::Traces* old_;
};

// Enough files that a scan lasts well beyond one handler.
class CleanupPage : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    big_ = new TempTree("big");
    for (int d = 0; d < 60; ++d)
      for (int f = 0; f < 40; ++f)
        big_->Write(
            "d" + std::to_string(d) + "\\f" + std::to_string(f) + (f % 10 ? ".dat" : ".tmp"), 10);
  }
  static void TearDownTestSuite() {
    delete big_;
    big_ = nullptr;
  }

  void SetUp() override {
    tree_ = std::make_unique<TempTree>("page");
    cookies_ = std::make_unique<TempTree>("cookies");
    traces_.fake.profile = tree_->Root();
    traces_.fake.cookies = cookies_->Root();
    // Each test starts with an empty Recycle Bin.
    SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    ASSERT_TRUE(TrashNames().empty());
    appData_ = std::make_unique<TempTree>("appdata");
    traces_.fake.keepFile = appData_->Path("Mirven\\keep.txt");
    traces_.fake.keepSitesFile = appData_->Path("Mirven\\keep-sites.txt");
    traces_.fake.optionsFile = appData_->Path("Mirven\\options.txt");
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 440, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(host_, nullptr);
    ShowWindow(host_, SW_SHOW);
  }
  void TearDown() override {
    page_.reset();
    if (host_) DestroyWindow(host_);
    wintest::Pump();
  }

  CMirvenComputerHelperDlg& Open() {
    page_ = std::make_unique<CMirvenComputerHelperDlg>();
    EXPECT_TRUE(page_->Create(host_));
    ShowWindow(page_->hwnd(), SW_SHOW);
    WaitMeasured();
    return *page_;
  }
  void WaitMeasured() {
    EXPECT_TRUE(wintest::PumpUntil([&] { return page_->RootSizeKnown(); }, 20000));
  }
  bool WaitScanEnd() {
    return wintest::PumpUntil([&] { return !page_->IsScanning(); }, 60000);
  }
  bool WaitCleanEnd() {
    return wintest::PumpUntil([&] { return !page_->IsCleaning(); }, 20000);
  }

  HWND Item(int id) const { return GetDlgItem(page_->hwnd(), id); }
  std::string Status() const { return wintest::TextOf(Item(IDC_CLEANUP_STATUS)); }
  void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  std::vector<std::string> Lines() {
    std::vector<std::string> v;
    for (int k = 0; k < page_->JunkList().GetCount(); ++k)
      v.push_back(page_->JunkList().GetText(k));
    return v;
  }
  bool HasLine(const std::string& s) {
    auto v = Lines();
    return std::find(v.begin(), v.end(), s) != v.end();
  }
  void Select(const std::string& line) {
    auto v = Lines();
    auto it = std::find(v.begin(), v.end(), line);
    ASSERT_NE(it, v.end()) << line;
    SendMessageW(page_->JunkList().hwnd(), LB_SETCURSEL, static_cast<WPARAM>(it - v.begin()), 0);
  }
  void ChooseOnly(std::initializer_list<int> options) {
    page_->OnSelectNoneClicked();
    for (int k : options) page_->Choices().SetTicked(k, true);
  }
  // A scan of a tree big enough that it is still running after the click.
  void ScanBig() {
    page_->SetScanRoot(big_->Root());
    WaitMeasured();
    Click(IDC_CLEANUP_SCAN_NOW);
    ASSERT_TRUE(page_->IsScanning());
  }

  static TempTree* big_;
  wintest::ScopedEffects effects_;
  ScopedTraces traces_;
  std::unique_ptr<TempTree> tree_, cookies_, appData_;
  HWND host_ = nullptr;
  std::unique_ptr<CMirvenComputerHelperDlg> page_;
};
TempTree* CleanupPage::big_ = nullptr;

TEST_F(CleanupPage, StartsIdleWithTheDefaultOptionsOnTheProfileFolder) {
  tree_->Write("a.bin", 3 * 1024 * 1024);
  CMirvenComputerHelperDlg& page = Open();
  EXPECT_EQ(page.ScanRoot(), tree_->Root());
  EXPECT_EQ(page.RootSizeKB(), 3u * 1024);
  // Once the programs are known, the options shown are grouped under them.
  ASSERT_TRUE(wintest::PumpUntil([&] { return page.ProgramsKnown(); }, 20000));
  const auto& lines = page.Choices().Lines();
  ASSERT_EQ(page.Options().GetCount(), static_cast<int>(lines.size()));
  const cleanup::CleanItem* thumbnails = cleanup::FindCleanItem("thumbnails");
  EXPECT_TRUE(page.Choices().Shown(cleanup::kFirstItem +
                                   static_cast<int>(thumbnails - &cleanup::CleanItems()[0])));
  for (int k = 0; k < page.Options().GetCount(); ++k) {
    const int option = lines[k].option;
    EXPECT_EQ(page.Options().GetText(k), option < 0 ? cleanup::OptionGroup(lines[k + 1].option)
                                                    : cleanup::OptionLabel(option));
    // Emptying the Recycle Bin would take away the undo of every clean;
    // logging the user out of every site would be a surprise.
    const cleanup::CleanItem* item = cleanup::OptionItem(option);
    const bool ticked = item ? item->kind != cleanup::ItemKind::kCookies &&
                                   item->kind != cleanup::ItemKind::kHistory
                             : option != cleanup::kRecycleBin;
    EXPECT_EQ(page.Options().GetCheck(k), option < 0 ? -1 : ticked ? 1 : 0) << option;
  }
  EXPECT_EQ(Status(), cleanup::kIntroduction);
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CLEANUP_START)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_STOP)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_PAUSE)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_SCAN_NOW)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CLEANUP_JUNK_LIST)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_TREE)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CLEANUP_OPTIONS)));
  // The tab swaps the tree for the option list in the same place.
  HWND tab = Item(IDC_CLEANUP_TAB);
  TabCtrl_SetCurSel(tab, 1);
  NMHDR hdr{tab, IDC_CLEANUP_TAB, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(page.hwnd(), WM_NOTIFY, IDC_CLEANUP_TAB, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CLEANUP_TREE)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_OPTIONS)));
  // The option list and the keep-list's button below it fill the tree's place.
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_KEEP_LIST)));
  RECT a, b, c;
  GetWindowRect(Item(IDC_CLEANUP_TREE), &a);
  GetWindowRect(Item(IDC_CLEANUP_OPTIONS), &b);
  GetWindowRect(Item(IDC_CLEANUP_KEEP_LIST), &c);
  EXPECT_EQ(std::vector<LONG>({a.left, a.top, a.right, a.left, a.bottom}),
            std::vector<LONG>({b.left, b.top, b.right, c.left, c.bottom}));
  EXPECT_LT(b.bottom, c.top);
  Click(IDC_CLEANUP_SELECT_ALL);
  for (int k = 0; k < page.Options().GetCount(); ++k)
    EXPECT_NE(page.Options().GetCheck(k), 0) << k;
  // Space on a program's name does nothing; on an option it toggles it.
  const cleanup::OptionSet all = page.Choices().Chosen();
  SendMessageW(page.Options().hwnd(), LB_SETCURSEL, 0, 0);
  SendMessageW(page.Options().hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(page.Choices().Chosen(), all);
  SendMessageW(page.Options().hwnd(), LB_SETCURSEL, 1, 0);
  SendMessageW(page.Options().hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(page.Options().GetCheck(1), 0);
  Click(IDC_CLEANUP_SELECT_NONE);
  for (int k = 0; k < page.Options().GetCount(); ++k)
    EXPECT_NE(page.Options().GetCheck(k), 1) << k;
}

TEST_F(CleanupPage, TicksAreRememberedAndADamagedFileMeansTheDefaults) {
  CMirvenComputerHelperDlg* page = &Open();
  ASSERT_TRUE(wintest::PumpUntil([&] { return page->ProgramsKnown(); }, 20000));
  Click(IDC_CLEANUP_SELECT_NONE);
  page->Choices().SetTicked(cleanup::kClipboard, true);
  Click(IDC_CLEANUP_SELECT_NONE);  // each change is written
  const std::string file = traces_.fake.optionsFile;
  // What is written is every tick, those of programs not installed too.
  ASSERT_TRUE(wintest::PumpUntil(
      [&] { return cleanup::ParseTicks(ReadAll(file)) == page->Choices().Ticks(); }, 20000));
  auto reopen = [&] {
    page_.reset();
    page = &Open();
    return wintest::PumpUntil([&] { return page->ProgramsKnown(); }, 20000);
  };
  ASSERT_TRUE(reopen());
  EXPECT_FALSE(page->Choices().AnyChosen());
  Click(IDC_CLEANUP_SCAN_NOW);
  EXPECT_EQ(Status(), cleanup::kRefusal);

  ASSERT_TRUE(cleanup::WriteKeepText(file, "temp\r\nclipboard\r\n"));
  ASSERT_TRUE(reopen());
  cleanup::OptionSet chosen = cleanup::NoOptions();
  chosen[cleanup::kTempFiles] = chosen[cleanup::kClipboard] = true;
  EXPECT_EQ(page->Choices().Chosen(), chosen);

  ASSERT_TRUE(cleanup::WriteKeepText(file, "temp\r\n\xFF\xFE garbage\r\n"));
  ASSERT_TRUE(reopen());
  EXPECT_EQ(page->Choices().Ticks(), cleanup::DefaultTicks());
  EXPECT_EQ(ReadAll(file), "temp\r\n\xFF\xFE garbage\r\n");  // only a change writes
}

TEST_F(CleanupPage, ScanListsJunkPathsAndShowsTheSummary) {
  tree_->Write("a.tmp", 2048);
  tree_->Write("sub\\B.OLD", 1024 * 1024);
  tree_->Write("sub\\keep.txt", 5000);
  tree_->Write("tmp", 4096);             // no extension: never junk
  tree_->Write("x.tmp\\note.txt", 100);  // junk folder name, plain file
  tree_->Write("sub\\w.do~", 512);
  const std::string unicode = tree_->Path("한글😀.tmp");  // outside code page 936
  cleanuptest::WriteFile(unicode, 1024);
  std::string deep = "deep";
  while (deep.size() < 300) deep += "\\folder-with-a-long-name";
  tree_->Write(deep + "\\far.gid", 1024);
  ASSERT_TRUE(Exists(tree_->Path(deep + "\\far.gid")));
  CMirvenComputerHelperDlg& page = Open();

  Click(IDC_CLEANUP_SCAN_NOW);
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CLEANUP_SCAN_NOW)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_JUNK_LIST)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_PROGRESS)));
  ASSERT_TRUE(WaitScanEnd());
  std::vector<std::string> expected = {tree_->Path("a.tmp"), tree_->Path("sub\\B.OLD"),
                                       tree_->Path("sub\\w.do~"), unicode,
                                       tree_->Path(deep + "\\far.gid")};
  std::sort(expected.begin(), expected.end());
  auto lines = Lines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(page.ListedFiles(), expected);
  EXPECT_EQ(page.JunkCount(), 5u);
  EXPECT_EQ(page.JunkKB(), 2u + 1024u + 0u + 1u + 1u);
  EXPECT_EQ(Status(), cleanup::ScanSummary(5, 1028));
  EXPECT_EQ(Status(), "扫描已完成！本次共扫描出 5 个垃圾文件，立即清除可帮您节省 1MB 磁盘空间。");
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CLEANUP_START)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_STOP)));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CLEANUP_TREE)));
  // The list scrolls sideways as far as its widest line.
  EXPECT_GT(page.JunkList().HorizontalExtent(), 300);

  // Without "临时文件" the walk still runs and lists nothing.
  page.Choices().SetTicked(cleanup::kTempFiles, false);
  Click(IDC_CLEANUP_START);
  ASSERT_TRUE(WaitScanEnd());
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Status(), cleanup::ScanSummary(0, 0));
}

// The page inserts each line where the model's key puts it; the keys must
// order lines as a sorted list box does (its locale, case ignored).
TEST_F(CleanupPage, SortKeysOrderLinesAsASortedListBox) {
  CMirvenComputerHelperDlg& page = Open();
  const std::vector<std::string> lines = {
      "C:\\b.tmp",         "C:\\B.TMP",   "c:\\a-b.tmp",         "c:\\ab.tmp",
      "C:\\a_b.tmp",       "C:\\a b.tmp", "C:\\a10.tmp",         "C:\\a9.tmp",
      "C:\\Ä.tmp",         "C:\\z.tmp",   "C:\\中文.tmp",        "C:\\한글.tmp",
      "C:\\sub\\x.tmp",    "C:\\sub.old", "共删除 1 个垃圾文件", "回收站清空完毕！",
      "Cookies 清空完毕！"};
  HWND sorted = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_HASSTRINGS, 0, 0, 100,
                                100, page.hwnd(), nullptr, nullptr, nullptr);
  cleanup::CleanupList model;
  for (const std::string& line : lines) {
    SendMessageW(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(base::Wide(line).c_str()));
    model.AddMessage(line, page.JunkList().SortKey(line));
  }
  for (size_t k = 0; k < lines.size(); ++k) {
    wchar_t text[64] = {};
    SendMessageW(sorted, LB_GETTEXT, k, reinterpret_cast<LPARAM>(text));
    // Lines equal but for case may sit either way round.
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text, -1,
                             base::Wide(model.Row(model.IdAt(k))->Text()).c_str(), -1),
              CSTR_EQUAL)
        << k << " " << base::Utf8(text);
  }
  DestroyWindow(sorted);
}

TEST_F(CleanupPage, RefusesWithoutOptionsAndWhileScanning) {
  CMirvenComputerHelperDlg& page = Open();
  page.OnSelectNoneClicked();
  Click(IDC_CLEANUP_SCAN_NOW);
  EXPECT_FALSE(page.IsScanning());
  EXPECT_EQ(Status(), cleanup::kRefusal);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_SCAN_NOW)));
  page.OnStartClicked();
  EXPECT_FALSE(page.IsScanning());
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_SCAN_NOW)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CLEANUP_JUNK_LIST)));

  page.OnSelectAllClicked();
  ScanBig();
  page.OnPauseClicked();
  // A second start while the first runs is refused; the running one goes on.
  page.OnStartClicked();
  EXPECT_EQ(Status(), cleanup::kRefusal);
  EXPECT_TRUE(page.IsScanning());
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CLEANUP_JUNK_LIST)));
  page.OnScanNowClicked();
  EXPECT_TRUE(page.IsScanning());
  Click(IDC_CLEANUP_STOP);
  EXPECT_FALSE(page.IsScanning());
}

TEST_F(CleanupPage, PauseHoldsTheScanContinueResumesStopShowsWhatWasFound) {
  CMirvenComputerHelperDlg& page = Open();
  ScanBig();
  Click(IDC_CLEANUP_PAUSE);
  EXPECT_TRUE(page.IsPaused());
  EXPECT_EQ(wintest::TextOf(Item(IDC_CLEANUP_PAUSE)), "继续");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_START)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_TREE)));
  // Let everything already under way arrive, then nothing more may come.
  wintest::PumpUntil([] { return false; }, 300);
  size_t held = Lines().size();
  int pos = static_cast<int>(SendMessageW(Item(IDC_CLEANUP_PROGRESS), PBM_GETPOS, 0, 0));
  wintest::PumpUntil([] { return false; }, 400);
  EXPECT_EQ(Lines().size(), held);
  EXPECT_EQ(SendMessageW(Item(IDC_CLEANUP_PROGRESS), PBM_GETPOS, 0, 0), pos);
  EXPECT_TRUE(page.IsScanning());

  Click(IDC_CLEANUP_PAUSE);
  EXPECT_FALSE(page.IsPaused());
  EXPECT_EQ(wintest::TextOf(Item(IDC_CLEANUP_PAUSE)), "暂停");
  Click(IDC_CLEANUP_STOP);
  EXPECT_FALSE(page.IsScanning());
  size_t shown = Lines().size();
  EXPECT_LT(shown, 240u);
  EXPECT_EQ(page.JunkCount(), shown);
  EXPECT_EQ(Status(), cleanup::ScanSummary(shown, 0));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CLEANUP_START)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_PAUSE)));
  // The stopped walk unwinds without adding to what the page shows.
  wintest::PumpUntil([] { return false; }, 300);
  EXPECT_EQ(Lines().size(), shown);
  EXPECT_EQ(Status(), cleanup::ScanSummary(shown, 0));
}

TEST_F(CleanupPage, StopWhilePausedEndsTheScanAndTheNextOneStartsUnpaused) {
  CMirvenComputerHelperDlg& page = Open();
  ScanBig();
  Click(IDC_CLEANUP_PAUSE);
  Click(IDC_CLEANUP_STOP);
  EXPECT_FALSE(page.IsScanning());
  EXPECT_FALSE(page.IsPaused());
  EXPECT_EQ(wintest::TextOf(Item(IDC_CLEANUP_PAUSE)), "暂停");
  size_t shown = Lines().size();

  // A new scan of another root while the old walk may still unwind: it
  // shows only its own files.
  tree_->Write("only.tmp", 10);
  page.SetScanRoot(tree_->Root());
  WaitMeasured();
  Click(IDC_CLEANUP_START);
  EXPECT_TRUE(page.IsScanning());
  EXPECT_FALSE(page.IsPaused());
  ASSERT_TRUE(WaitScanEnd());
  EXPECT_EQ(Lines(), std::vector<std::string>{tree_->Path("only.tmp")});
  EXPECT_EQ(Status(), cleanup::ScanSummary(1, 0));
  EXPECT_LE(shown, 240u);
}

TEST_F(CleanupPage, CleanOneDeletesTheSelectedFileOnlyIfUnchanged) {
  tree_->Write("a.tmp", 100);
  tree_->Write("b.tmp", 100);
  tree_->Write("keep.txt", 100);
  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  ASSERT_EQ(Lines().size(), 2u);

  Select(tree_->Path("a.tmp"));
  Click(IDC_CLEANUP_CLEAN);
  EXPECT_FALSE(Exists(tree_->Path("a.tmp")));
  EXPECT_FALSE(HasLine(tree_->Path("a.tmp")));

  // Rewritten since the scan: another file now, so it stays, and so does its line.
  tree_->Write("b.tmp", 200);
  Select(tree_->Path("b.tmp"));
  Click(IDC_CLEANUP_CLEAN);
  EXPECT_TRUE(Exists(tree_->Path("b.tmp")));
  EXPECT_TRUE(HasLine(tree_->Path("b.tmp")));
  EXPECT_EQ(Status(), "共将 0 个垃圾文件（0KB）移入回收站，1 个文件未能删除。");
  EXPECT_TRUE(Exists(tree_->Path("keep.txt")));

  // With nothing selected nothing happens.
  SendMessageW(page.JunkList().hwnd(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Click(IDC_CLEANUP_CLEAN);
  EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(CleanupPage, CleanAllDeletesListedJunkClearsChosenTracesAndLeavesTheRest) {
  tree_->Write("a.tmp", 2048);
  tree_->Write("sub\\c.old", 1024);
  tree_->Write("sub\\keep.txt", 100);
  tree_->Write("tmp", 100);
  tree_->Write("moved.tmp", 100);
  tree_->Write("changed.tmp", 100);
  tree_->Write("x.tmp\\note.txt", 100);
  const std::string unicode = tree_->Path("한글😀.tmp");
  cleanuptest::WriteFile(unicode, 1024);
  std::string deep = "deep";
  while (deep.size() < 300) deep += "\\folder-with-a-long-name";
  tree_->Write(deep + "\\far.gid", 1024);
  // The Cookies folder: a read-only file, a sub-folder with a file, an empty one.
  cookies_->Write("user@site.txt", 50);
  SetFileAttributesW(base::Wide(cookies_->Path("user@site.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
  cookies_->Write("kept\\inner.txt", 50);
  cookies_->MakeFolder("empty");

  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  ASSERT_EQ(page.JunkCount(), 6u);
  // Between scan and clean one file is renamed and one rewritten.
  ASSERT_TRUE(MoveFileW(base::Wide(tree_->Path("moved.tmp")).c_str(),
                        base::Wide(tree_->Path("moved-away.tmp")).c_str()));
  tree_->Write("changed.tmp", 300);

  ChooseOnly({cleanup::kRecycleBin, cleanup::kCookies});
  // Agreed to, the bin is emptied before this clean's files go in.
  traces_.fake.emptyBin = true;
  tree_->Write("earlier.dat", 10);
  cleanup::WinRecycleBin bin;
  ASSERT_EQ(bin.Recycle({tree_->Path("earlier.dat")}), std::vector<bool>{true});
  effects_.fake.answer = IDYES;
  Click(IDC_CLEANUP_CLEAN_ALL);
  EXPECT_TRUE(page.IsCleaning());
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_CLEANUP_START)));
  ASSERT_TRUE(WaitCleanEnd());
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_CLEANUP_START)));
  // Three files went to the Recycle Bin; the one beyond MAX_PATH, which the
  // bin cannot take, was deleted for good, and the report line says so.
  cleanup::CleanTally tally;
  tally.mode = cleanup::CleanMode::kRecycle;
  tally.recycled = 3;
  tally.recycledKB = 2 + 1 + 1;
  tally.deleted = tally.noBin = 1;
  tally.freedKB = 1;
  tally.failed = tally.gone = 1;
  EXPECT_EQ(Status(), cleanup::RecycledStatus(tally));
  EXPECT_EQ(TrashNames(), (std::vector<std::string>{"a.tmp", "c.old", "한글😀.tmp"}));

  for (const char* gone : {"a.tmp", "sub\\c.old"}) EXPECT_FALSE(Exists(tree_->Path(gone))) << gone;
  EXPECT_FALSE(Exists(unicode));
  EXPECT_FALSE(Exists(tree_->Path(deep + "\\far.gid")));
  for (const char* kept :
       {"sub\\keep.txt", "tmp", "moved-away.tmp", "changed.tmp", "x.tmp\\note.txt"})
    EXPECT_TRUE(Exists(tree_->Path(kept))) << kept;
  EXPECT_FALSE(Exists(cookies_->Path("user@site.txt")));
  EXPECT_TRUE(Exists(cookies_->Path("kept\\inner.txt")));
  EXPECT_FALSE(Exists(cookies_->Path("empty")));

  EXPECT_EQ(traces_.fake.recycleBins, 1);
  EXPECT_NE(traces_.fake.cleanThread, GetCurrentThreadId());
  EXPECT_TRUE(HasLine("回收站清空完毕！"));
  EXPECT_TRUE(HasLine("Cookies 清空完毕！"));
  EXPECT_FALSE(HasLine("剪贴板清空完毕！"));
  // The renamed file is gone, which is what was asked: done, not failed.
  EXPECT_TRUE(HasLine(cleanup::CleanReport(tally))) << cleanup::CleanReport(tally);
  // The kept file can still be cleaned; deleted and gone ones are no longer offered.
  EXPECT_EQ(page.ListedFiles(), (std::vector<std::string>{tree_->Path("changed.tmp")}));

  // A completion line is never taken for a path.
  cleanuptest::WriteFile(tree_->Path("回收站清空完毕！"), 10);
  Select("回收站清空完毕！");
  Click(IDC_CLEANUP_CLEAN);
  EXPECT_FALSE(HasLine("回收站清空完毕！"));
}

// With the default ticks the bin is never emptied: two cleans in a row
// leave both cleans' files, and what the user deleted before, in it. Ticked,
// it is emptied only once the user agrees, and a No leaves it whole.
TEST_F(CleanupPage, TwoCleansInARowLeaveEverythingInTheBinUnlessEmptyingIsAgreedTo) {
  tree_->Write("earlier.dat", 10);
  cleanup::WinRecycleBin bin;
  ASSERT_EQ(bin.Recycle({tree_->Path("earlier.dat")}), std::vector<bool>{true});
  traces_.fake.emptyBin = true;
  for (const char* f : {"a.tmp", "b.tmp", "c.tmp"}) tree_->Write(f, 100);
  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  // Ticked after the scan; the space bar unticks the selected line.
  Select(tree_->Path("b.tmp"));
  SendMessageW(page.JunkList().hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_EQ(page.Rows().TickedFiles().files.size(), 2u);

  Click(IDC_CLEANUP_CLEAN_ALL);
  ASSERT_TRUE(WaitCleanEnd());
  EXPECT_TRUE(Exists(tree_->Path("b.tmp")));
  EXPECT_EQ(TrashNames(), (std::vector<std::string>{"a.tmp", "c.tmp", "earlier.dat"}));
  // The unticked line stays, and can still be cleaned.
  EXPECT_EQ(page.ListedFiles(), std::vector<std::string>{tree_->Path("b.tmp")});
  EXPECT_EQ(Status(),
            "已将 2 个垃圾文件（0KB）移入回收站，可从回收站还原；清空回收站后释放磁盘空间。");

  tree_->Write("d.tmp", 100);
  Click(IDC_CLEANUP_START);
  ASSERT_TRUE(WaitScanEnd());
  Click(IDC_CLEANUP_CLEAN_ALL);
  ASSERT_TRUE(WaitCleanEnd());
  const std::vector<std::string> all{"a.tmp", "b.tmp", "c.tmp", "d.tmp", "earlier.dat"};
  EXPECT_EQ(TrashNames(), all);
  EXPECT_EQ(traces_.fake.recycleBins, 0);
  EXPECT_TRUE(effects_.fake.messages.empty());

  // Ticked and declined: nothing emptied, the rest of the clean goes on.
  tree_->Write("e.tmp", 100);
  Click(IDC_CLEANUP_START);
  ASSERT_TRUE(WaitScanEnd());
  page.Choices().SetTicked(cleanup::kRecycleBin, true);
  effects_.fake.answer = IDNO;
  Click(IDC_CLEANUP_CLEAN_ALL);
  ASSERT_TRUE(WaitCleanEnd());
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, "将清空回收站中的 5 个文件（10KB），无法恢复。确定吗？");
  EXPECT_EQ(traces_.fake.recycleBins, 0);
  EXPECT_EQ(TrashNames().size(), 6u);
  EXPECT_FALSE(HasLine("回收站清空完毕！"));
}

TEST_F(CleanupPage, ShiftCleanAllDeletesForGoodAfterOneConfirmation) {
  tree_->Write("a.tmp", 100);
  tree_->Write("b.tmp", 100);
  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  page.OnSelectNoneClicked();
  {
    ShiftDown shift;
    effects_.fake.answer = IDNO;
    Click(IDC_CLEANUP_CLEAN_ALL);
    EXPECT_FALSE(page.IsCleaning());
    ASSERT_EQ(effects_.fake.messages.size(), 1u);
    EXPECT_EQ(effects_.fake.messages[0].text, "将永久删除 2 个文件，无法恢复。确定吗？");
    EXPECT_TRUE(Exists(tree_->Path("a.tmp")));
    effects_.fake.answer = IDYES;
    Click(IDC_CLEANUP_CLEAN_ALL);
  }
  ASSERT_TRUE(WaitCleanEnd());
  EXPECT_FALSE(Exists(tree_->Path("a.tmp")));
  EXPECT_FALSE(Exists(tree_->Path("b.tmp")));
  EXPECT_TRUE(TrashNames().empty());
  EXPECT_TRUE(HasLine(cleanup::CleanReport(2, 0, 0)));
  EXPECT_EQ(Status(), cleanup::kCleanFinished);
  EXPECT_EQ(traces_.fake.recycleBins, 0);
  // Nothing is stored: without Shift the next clean recycles again.
  tree_->Write("c.tmp", 100);
  page.OnSelectAllClicked();
  Click(IDC_CLEANUP_START);
  ASSERT_TRUE(WaitScanEnd());
  Click(IDC_CLEANUP_CLEAN_ALL);
  ASSERT_TRUE(WaitCleanEnd());
  EXPECT_EQ(TrashNames(), std::vector<std::string>{"c.tmp"});
  EXPECT_EQ(effects_.fake.messages.size(), 2u);
}

TEST_F(CleanupPage, TheKeepListSurvivesARestartAndHidesItsPathsFromScans) {
  for (const char* f : {"one.tmp", "two.tmp", "sub\\x.tmp", "sub\\y.old", "sub.tmp"})
    tree_->Write(f, 10);
  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  Select(tree_->Path("one.tmp"));
  page.KeepSelected(false);
  Select(tree_->Path("sub\\x.tmp"));
  page.KeepSelected(true);
  EXPECT_TRUE(effects_.fake.messages.empty());
  // Kept lines leave the list at once: nothing kept is cleaned now.
  auto lines = Lines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{tree_->Path("sub.tmp"), tree_->Path("two.tmp")}));
  EXPECT_EQ(ReadAll(traces_.fake.keepFile),
            tree_->Path("one.tmp") + "\r\n" + tree_->Path("sub") + "\r\n");

  page_.reset();
  Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  lines = Lines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{tree_->Path("sub.tmp"), tree_->Path("two.tmp")}));

  // The keep-list window shows the entries and removes the chosen one; its
  // second list adds and removes sites, never a line that is no host name.
  CKeepListDlg dialog(traces_.fake.keepFile, traces_.fake.keepSitesFile);
  ASSERT_TRUE(dialog.Create(host_));
  ASSERT_EQ(dialog.Entries().GetCount(), 2);
  SendMessageW(dialog.Entries().hwnd(), LB_SETSEL, TRUE, 0);
  dialog.OnRemoveClicked();
  EXPECT_EQ(dialog.Entries().GetCount(), 1);
  EXPECT_EQ(ReadAll(traces_.fake.keepFile), tree_->Path("sub") + "\r\n");
  for (const char* site : {"https://Mail.Example.cn/inbox", "not a site", "bank.example.cn"}) {
    dialog.SetItemText(IDC_KEEP_SITE, site);
    dialog.OnAddSiteClicked();
  }
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(dialog.ItemText(IDC_KEEP_SITE), "");
  EXPECT_EQ(ReadAll(traces_.fake.keepSitesFile), "mail.example.cn\r\nbank.example.cn\r\n");
  ASSERT_EQ(dialog.Sites().GetText(1), "mail.example.cn");  // sorted
  SendMessageW(dialog.Sites().hwnd(), LB_SETSEL, TRUE, 1);
  dialog.OnRemoveSitesClicked();
  EXPECT_EQ(ReadAll(traces_.fake.keepSitesFile), "bank.example.cn\r\n");
  EXPECT_EQ(dialog.Sites().GetCount(), 1);
  DestroyWindow(dialog.hwnd());
}

TEST_F(CleanupPage, ADamagedOrReadOnlyKeepListIsReportedAndNeverShrinks) {
  tree_->Write("a.tmp", 10);
  appData_->Write("Mirven\\keep.txt", 0);
  const std::string old = "C:\\kept\\file.old\r\nno path here\r\n";
  {
    HANDLE f = CreateFileW(base::Wide(traces_.fake.keepFile).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, old.data(), static_cast<DWORD>(old.size()), &n, nullptr);
    CloseHandle(f);
  }
  SetFileAttributesW(base::Wide(traces_.fake.keepFile).c_str(), FILE_ATTRIBUTE_READONLY);
  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, cleanup::KeepUnreadableLinesNote(1));
  // Said once, not at every scan.
  Click(IDC_CLEANUP_START);
  ASSERT_TRUE(WaitScanEnd());
  EXPECT_EQ(effects_.fake.messages.size(), 1u);

  Select(tree_->Path("a.tmp"));
  page.KeepSelected(false);
  ASSERT_EQ(effects_.fake.messages.size(), 2u);
  EXPECT_EQ(effects_.fake.messages[1].text, cleanup::kKeepFileNotSaved);
  EXPECT_EQ(ReadAll(traces_.fake.keepFile), old);
  EXPECT_TRUE(HasLine(tree_->Path("a.tmp")));
  SetFileAttributesW(base::Wide(traces_.fake.keepFile).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The options tab grouped by program, and a scan's lines with an item's
// line among the files; a Chrome cache is laid out in this prefix for it.
TEST(Screenshots, DISABLED_CleanupOptionsAndItemLines) {
  const std::string chrome = base::KnownFolder(FOLDERID_LocalAppData) + "\\Google\\Chrome";
  for (int k = 0; k < 40; ++k)
    cleanuptest::WriteFile(
        chrome + "\\User Data\\Default\\Cache\\Cache_Data\\f_" + std::to_string(k), 64 * 1024);
  TempTree tree("shot");
  for (const char* f : {"安装包\\残留.tmp", "备份\\旧配置.old", "下载\\setup.tmp"})
    tree.Write(f, 300 * 1024);
  ScopedTraces traces;
  traces.fake.profile = traces.fake.cookies = tree.Root();
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 1400, 800,
                              nullptr, nullptr, nullptr, nullptr);
  {
    CMirvenComputerHelperDlg page;
    ASSERT_TRUE(page.Create(host));
    ShowWindow(page.hwnd(), SW_SHOW);
    ASSERT_TRUE(wintest::PumpUntil([&] { return page.ProgramsKnown(); }, 20000));
    HWND tab = GetDlgItem(page.hwnd(), IDC_CLEANUP_TAB);
    TabCtrl_SetCurSel(tab, 1);
    NMHDR hdr{tab, IDC_CLEANUP_TAB, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(page.hwnd(), WM_NOTIFY, IDC_CLEANUP_TAB, reinterpret_cast<LPARAM>(&hdr));
    SendMessageW(page.Options().hwnd(), LB_SETCURSEL, 2, 0);
    page.SetScanRoot(tree.Root());
    SendMessageW(GetDlgItem(page.hwnd(), IDC_CLEANUP_SCAN_NOW), BM_CLICK, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !page.IsScanning(); }, 60000));
    wintest::PumpUntil([] { return false; }, 500);
    RECT r;
    GetWindowRect(page.hwnd(), &r);
    EXPECT_TRUE(wintest::SaveScreen(r, "cleanup-options-and-items"));
  }
  DestroyWindow(host);
  cleanuptest::RemoveTree(chrome);
}

TEST(Screenshots, DISABLED_KeepListWindow) {
  TempTree appData("shot");
  const std::string file = appData.Path("keep.txt");
  cleanup::KeepList list;
  for (const char* p : {"C:\\Users\\zhangsan\\Documents\\论文\\草稿.old",
                        "C:\\Users\\zhangsan\\AppData\\Local\\Temp\\项目备份",
                        "D:\\工作\\config.old", "D:\\游戏\\存档\\save.tmp"})
    list.Add(p);
  ASSERT_TRUE(cleanup::WriteKeepFile(file, list));
  const std::string sites = appData.Path("keep-sites.txt");
  ASSERT_TRUE(cleanup::WriteKeepText(sites, "mail.example.cn\r\nbank.example.cn\r\nxn--fiqs8s.cn\r\n"));
  CKeepListDlg dialog(file, sites);
  ASSERT_TRUE(dialog.Create(nullptr));
  SetWindowPos(dialog.hwnd(), HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SendMessageW(dialog.Entries().hwnd(), LB_SETSEL, TRUE, 2);
  wintest::PumpUntil([] { return false; }, 500);
  RECT r;
  GetWindowRect(dialog.hwnd(), &r);
  EXPECT_TRUE(wintest::SaveScreen(r, "cleanup-keep-list"));
  DestroyWindow(dialog.hwnd());
}

TEST_F(CleanupPage, LinksInsideTheRootAreNotFollowed) {
  TempTree outside("outside");
  outside.Write("victim.tmp", 100);
  outside.Write("inner\\victim2.old", 100);
  tree_->Write("own.tmp", 100);
  ASSERT_TRUE(cleanuptest::MakeLinuxSymlink(outside.Root(), tree_->Path("link")));
  ASSERT_TRUE(cleanuptest::MakeLinuxSymlink(outside.Path("victim.tmp"), tree_->Path("alias.tmp")));
  ASSERT_TRUE(cleanuptest::Attributes(tree_->Path("link")) & FILE_ATTRIBUTE_REPARSE_POINT);
  CMirvenComputerHelperDlg& page = Open();
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  // Wine shows a link to a file as a plain file, so it may be listed; the
  // linked folder is never entered.
  for (const std::string& line : Lines())
    EXPECT_EQ(line.find(tree_->Path("link")), std::string::npos) << line;
  EXPECT_TRUE(HasLine(tree_->Path("own.tmp")));
  Click(IDC_CLEANUP_CLEAN_ALL);
  ASSERT_TRUE(WaitCleanEnd());
  EXPECT_FALSE(Exists(tree_->Path("own.tmp")));
  // Deleting through the link would have deleted what it points at.
  EXPECT_TRUE(Exists(outside.Path("victim.tmp")));
  EXPECT_TRUE(Exists(tree_->Path("alias.tmp")));
  EXPECT_TRUE(Exists(outside.Path("inner\\victim2.old")));

  // A link picked as the root itself is not walked either.
  page.SetScanRoot(tree_->Path("link"));
  WaitMeasured();
  EXPECT_EQ(page.RootSizeKB(), 0u);
  Click(IDC_CLEANUP_START);
  ASSERT_TRUE(WaitScanEnd());
  EXPECT_EQ(page.JunkCount(), 0u);
}

TEST_F(CleanupPage, PickingADriveOrFolderSetsTheRootAndItsSize) {
  tree_->Write("sub\\a.bin", 5 * 1024);
  CMirvenComputerHelperDlg& page = Open();
  page.SetScanRoot(tree_->Path("sub") + "\\");
  EXPECT_EQ(page.ScanRoot(), tree_->Path("sub"));
  WaitMeasured();
  EXPECT_EQ(page.RootSizeKB(), 5u);
  // The first drive of the tree, picked with the mouse's message.
  HWND tree = Item(IDC_CLEANUP_TREE);
  HTREEITEM first = TreeView_GetRoot(tree);
  ASSERT_NE(first, nullptr);
  std::string drive = page.Tree().ItemText(first);
  TreeView_SelectItem(tree, first);
  EXPECT_EQ(page.ScanRoot(), drive);
  EXPECT_TRUE(page.RootSizeKnown());
  EXPECT_GT(page.RootSizeKB(), 0u);
}

TEST_F(CleanupPage, NoProfileFolderMeansAnEmptyRootAndAnEmptyScan) {
  traces_.fake.profile.clear();
  CMirvenComputerHelperDlg& page = Open();
  EXPECT_EQ(page.ScanRoot(), "");
  Click(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(WaitScanEnd());
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Status(), cleanup::ScanSummary(0, 0));
}

TEST_F(CleanupPage, ClosingAsksOnlyWhileScanning) {
  CMirvenComputerHelperDlg& page = Open();
  SendMessageW(page.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(effects_.fake.messages.empty());
  EXPECT_EQ(effects_.fake.exits, std::vector<int>{0});

  ScanBig();
  effects_.fake.answer = IDNO;
  SendMessageW(page.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(effects_.fake.messages.size(), 1u);
  EXPECT_EQ(effects_.fake.messages[0].text, "扫描还未完成，您确定要关闭程序码？");
  EXPECT_EQ(effects_.fake.messages[0].caption, "Mirven电脑助手");
  EXPECT_EQ(effects_.fake.messages[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(effects_.fake.exits.size(), 1u);
  EXPECT_TRUE(page.IsScanning());
  effects_.fake.answer = IDYES;
  SendMessageW(page.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(effects_.fake.exits, (std::vector<int>{0, 0}));
  page.OnStopClicked();
}

}  // namespace
