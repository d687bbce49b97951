// Not a test: times a full scan in the page against the same walk without
// a window, on a tree with 10,000 junk files. Run by scripts/bench-scan.sh
// (suite CleanupBench, which CTest does not run).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "base/WinLister.h"
#include "cleanup/MirvenComputerHelperDlg.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/TempTree.h"
#include "cleanup/Traces.h"
#include "controls/HSListBox.h"
#include "res/resource.h"
#include "support/WinTest.h"

namespace {

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

class EmptyProfile : public cleanup::Traces {
 public:
  std::string ProfileFolder() override { return ""; }
};

TEST(CleanupBench, PageScanAgainstBareWalk) {
  constexpr int kFolders = 500, kJunkPerFolder = 20, kOtherPerFolder = 20, kRuns = 3;
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

  std::vector<double> bare, window;
  for (int run = 0; run < kRuns; ++run) {
    base::WinLister lister;
    cleanup::ScanControl control;
    cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
    cleanup::ScanWalk walk(lister, patterns, control);
    auto start = std::chrono::steady_clock::now();
    walk.Run(tree.Root(), [](const std::string&, const base::DirEntry&, bool) {});
    bare.push_back(Seconds(std::chrono::steady_clock::now() - start));
    ASSERT_EQ(walk.junkCount(), static_cast<uint64_t>(kFolders * kJunkPerFolder));

    start = std::chrono::steady_clock::now();
    SendMessageW(GetDlgItem(page->hwnd(), IDC_CLEANUP_START), BM_CLICK, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !page->IsScanning(); }, 600000));
    window.push_back(Seconds(std::chrono::steady_clock::now() - start));
    ASSERT_EQ(page->JunkList().GetCount(), kFolders * kJunkPerFolder);
  }
  double b = *std::min_element(bare.begin(), bare.end());
  double w = *std::min_element(window.begin(), window.end());
  std::printf("junk files: %d of %d\n", kFolders * kJunkPerFolder,
              kFolders * (kJunkPerFolder + kOtherPerFolder));
  std::printf("walk without a window: %.3f s (best of %d)\n", b, kRuns);
  std::printf("scan in the page:      %.3f s\n", w);
  std::printf("ratio page / walk:     %.2f (goal at most 1.5)\n", w / b);
  page.reset();
  DestroyWindow(host);
  cleanup::SetTraces(old);
}

// Where the time of the page goes: 10,000 lines into a list box, plain or
// sorted, with and without the horizontal extent kept up to date.
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
      for (int i = 0; i < 10000; ++i) {
        std::wstring s = L"C:\\users\\someone\\AppData\\Local\\Temp\\d" + std::to_wstring(i % 20) +
                         L"\\e" + std::to_wstring(i) + L"\\junk" + std::to_wstring(i) + L".tmp";
        SendMessageW(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
      }
      SendMessageW(lb, WM_SETREDRAW, TRUE, 0);
      std::printf("list box%s%s, 10,000 lines: %.3f s\n", style ? ", sorted" : "",
                  extent ? ", extent kept" : "", Seconds(std::chrono::steady_clock::now() - start));
      DestroyWindow(lb);
    }
  }
  DestroyWindow(host);
}

}  // namespace
