// Not a test: times a full scan in the page against the same walk without
// a window, on a tree with 10,000 junk files. Run by scripts/bench-scan.sh
// (suite CleanupBench, which CTest does not run).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "base/WinLister.h"
#include "cleanup/CleanupList.h"
#include "cleanup/FileOps.h"
#include "cleanup/JunkListBox.h"
#include "cleanup/MirvenComputerHelperDlg.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/TempTree.h"
#include "cleanup/Traces.h"
#include "controls/HSListBox.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

class EmptyProfile : public cleanup::Traces {
 public:
  std::string ProfileFolder() override { return ""; }
};

TEST(CleanupBench, PageScanAgainstBareWalk) {
  constexpr int kFolders = 500, kJunkPerFolder = 20, kOtherPerFolder = 20, kRuns = 5;
  cleanuptest::TempTree tree("bench");
  for (int d = 0; d < kFolders; ++d) {
    std::string folder = "d" + std::to_string(d / 25) + "\\e" + std::to_string(d) + "\\";
    for (int f = 0; f < kJunkPerFolder; ++f)
      tree.Write(folder + "junk" + std::to_string(f) + ".tmp", 1);
    for (int f = 0; f < kOtherPerFolder; ++f)
      tree.Write(folder + "keep" + std::to_string(f) + ".txt", 1);
  }
  EmptyProfile profile;
  cleanup::Traces* old = cleanup::SetTraces(&profile);
  HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                              440, nullptr, nullptr, nullptr, nullptr);
  auto page = std::make_unique<CMirvenComputerHelperDlg>();
  ASSERT_TRUE(page->Create(host));
  ShowWindow(page->hwnd(), SW_SHOW);
  page->SetScanRoot(tree.Root());
  ASSERT_TRUE(wintest::PumpUntil([&] { return page->RootSizeKnown(); }, 60000));
  // The walk lists junk by pattern: so does the page, with the classic
  // options. Today's items are sized on their own below, against nothing:
  // the old temporary files' item walks %TEMP%, where this tree lies.
  ASSERT_TRUE(wintest::PumpUntil([&] { return page->Choices().ProgramsKnown(); }, 60000));
  for (int k = cleanup::kFirstItem; static_cast<size_t>(k) < cleanup::OptionCount(); ++k)
    page->Choices().SetTicked(k, false);

  // Each round times the walk and the page back to back, in turns first,
  // so that a busy machine weighs on both alike; the ratio is each round's.
  std::vector<double> bare, items, window, ratios;
  for (int run = 0; run < kRuns; ++run) {
    auto walkOnce = [&] {
      base::WinLister lister;
      cleanup::ScanControl control;
      cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
      cleanup::ScanWalk walk(lister, patterns, control);
      auto start = std::chrono::steady_clock::now();
      walk.Run(tree.Root(), [](const std::string&, const base::DirEntry&, bool) {});
      bare.push_back(Seconds(std::chrono::steady_clock::now() - start));
      EXPECT_EQ(walk.junkCount(), static_cast<uint64_t>(kFolders * kJunkPerFolder));
    };
    auto pageOnce = [&] {
      auto start = std::chrono::steady_clock::now();
      SendMessageW(GetDlgItem(page->hwnd(), IDC_CLEANUP_START), BM_CLICK, 0, 0);
      EXPECT_TRUE(wintest::PumpUntil([&] { return !page->IsScanning(); }, 600000));
      window.push_back(Seconds(std::chrono::steady_clock::now() - start));
      EXPECT_EQ(page->JunkList().GetCount(), kFolders * kJunkPerFolder);
    };
    if (run % 2) {
      pageOnce();
      walkOnce();
    } else {
      walkOnce();
      pageOnce();
    }
    ratios.push_back(window.back() / bare.back());
    // What the page sizes after the walk: today's programs' items it has
    // ticked. (Sized beside the walk on a thread of their own, they made the
    // page slower under Wine, the two contending for the same file system.)
    auto start = std::chrono::steady_clock::now();
    cleanup::TraceCleaner cleaner(nullptr);
    for (int k = 0; static_cast<size_t>(k) < cleanup::OptionCount(); ++k)
      if (cleanup::OptionTicked(k) && cleanup::OptionItem(k)) cleaner.Measure(k);
    items.push_back(Seconds(std::chrono::steady_clock::now() - start));
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("junk files: %d of %d\n", kFolders * kJunkPerFolder,
              kFolders * (kJunkPerFolder + kOtherPerFolder));
  std::printf("walk without a window: %.3f s (best of %d)\n",
              *std::min_element(bare.begin(), bare.end()), kRuns);
  std::printf("scan in the page:      %.3f s\n", *std::min_element(window.begin(), window.end()));
  std::printf("items sized alone:     %.3f s\n", *std::min_element(items.begin(), items.end()));
  std::printf("ratio page / walk:     %.2f median of %d rounds, %.2f to %.2f (goal at most 1.2)\n",
              ratios[ratios.size() / 2], kRuns, ratios.front(), ratios.back());
  page.reset();
  DestroyWindow(host);
  cleanup::SetTraces(old);
}

// "全部清理" of 10,000 files into the Recycle Bin against deleting them for
// good, through the same engine, on the same kind of tree.
TEST(CleanupBench, CleanAllRecycleAgainstPermanent) {
  constexpr int kFolders = 100, kFiles = 100;
  double seconds[2] = {};
  for (cleanup::CleanMode mode : {cleanup::CleanMode::kPermanent, cleanup::CleanMode::kRecycle}) {
    cleanuptest::TempTree tree(mode == cleanup::CleanMode::kRecycle ? "recycle" : "permanent");
    std::vector<cleanup::FoundFile> files;
    for (int d = 0; d < kFolders; ++d)
      for (int f = 0; f < kFiles; ++f) {
        std::string relative = "d" + std::to_string(d) + "\\junk" + std::to_string(f) + ".tmp";
        tree.Write(relative, 100);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW(base::Wide(tree.Path(relative)).c_str(),
                                         GetFileExInfoStandard, &data));
        uint64_t written = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                           data.ftLastWriteTime.dwLowDateTime;
        files.push_back(cleanup::FoundFile{tree.Path(relative), {100, written}, 0});
      }
    cleanup::WinDeleter deleter;
    cleanup::WinRecycleBin bin;
    auto start = std::chrono::steady_clock::now();
    cleanup::CleanTally tally = cleanup::CleanFiles(deleter, &bin, mode, files);
    seconds[mode == cleanup::CleanMode::kRecycle] =
        Seconds(std::chrono::steady_clock::now() - start);
    ASSERT_EQ(mode == cleanup::CleanMode::kRecycle ? tally.recycled : tally.deleted,
              static_cast<uint64_t>(kFolders * kFiles));
  }
  std::printf("clean-all, 10,000 files deleted for good:  %.3f s\n", seconds[0]);
  std::printf("clean-all, 10,000 files into the bin:      %.3f s\n", seconds[1]);
  std::printf("ratio recycle / permanent:                 %.2f (goal at most 2)\n",
              seconds[1] / seconds[0]);
}

// Where the time of the page goes: 10,000 lines into a list box, plain or
// sorted, with and without the horizontal extent kept up to date.
std::string Line(int i) {
  return "C:\\users\\someone\\AppData\\Local\\Temp\\d" + std::to_string(i % 20) + "\\e" +
         std::to_string(i) + "\\junk" + std::to_string(i) + ".tmp";
}

TEST(CleanupBench, ListBoxAdditions) {
  HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                              440, nullptr, nullptr, nullptr, nullptr);
  for (DWORD style : {DWORD(0), DWORD(LBS_SORT)}) {
    for (bool extent : {false, true}) {
      HWND lb = CreateWindowExW(0, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | style, 0, 0, 500,
                                300, host, nullptr, nullptr, nullptr);
      CHSListBox hs;
      if (extent) hs.SubclassWindow(lb);
      auto start = std::chrono::steady_clock::now();
      SendMessageW(lb, WM_SETREDRAW, FALSE, 0);
      for (int i = 0; i < 10000; ++i)
        SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(base::Wide(Line(i)).c_str()));
      SendMessageW(lb, WM_SETREDRAW, TRUE, 0);
      std::printf("list box%s%s, 10,000 lines: %.3f s\n", style ? ", sorted" : "",
                  extent ? ", extent kept" : "", Seconds(std::chrono::steady_clock::now() - start));
      DestroyWindow(lb);
    }
  }
  // The junk list as the page fills it: a key per line, the model's place,
  // an owner-drawn line with its row's id.
  HWND lb = CreateWindowExW(
      0, L"LISTBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 0, 0,
      500, 300, host, nullptr, nullptr, nullptr);
  CJunkListBox junk;
  junk.SubclassWindow(lb);
  cleanup::CleanupList rows;
  std::vector<std::string> keys;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10000; ++i) keys.push_back(junk.SortKey(Line(i)));
  std::printf("list box, 10,000 sort keys: %.3f s\n",
              Seconds(std::chrono::steady_clock::now() - start));
  start = std::chrono::steady_clock::now();
  SendMessageW(lb, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < 10000; ++i) {
    size_t at = rows.AddMessage(Line(i), keys[static_cast<size_t>(i)]);
    junk.InsertString(static_cast<int>(at), Line(i), rows.LastId());
  }
  SendMessageW(lb, WM_SETREDRAW, TRUE, 0);
  std::printf("list box, junk list in the model's order, line by line, 10,000 lines: %.3f s\n",
              Seconds(std::chrono::steady_clock::now() - start));
  // As the page fills it: slices of 256 files, keys included.
  junk.ResetContent();
  rows.Clear();
  start = std::chrono::steady_clock::now();
  junk.Freeze();
  for (int i = 0; i < 10000; i += 256) {
    std::vector<cleanup::FoundFile> slice;
    for (int k = i; k < std::min(i + 256, 10000); ++k)
      slice.push_back(cleanup::FoundFile{Line(k), {1, 0}, 1});
    junk.AddFiles(rows, std::move(slice));
  }
  junk.Thaw();
  std::printf("list box, junk list as the page fills it, with keys, 10,000 lines: %.3f s\n",
              Seconds(std::chrono::steady_clock::now() - start));
  EXPECT_EQ(junk.GetCount(), 10000);
  DestroyWindow(lb);
  DestroyWindow(host);
}

}  // namespace
