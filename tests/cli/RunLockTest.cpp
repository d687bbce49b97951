// The cleanup page and command-line runs share one lock per user: the page
// refuses to start while another run holds it, and holds it while it scans.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

#include "cleanup/CleanupText.h"
#include "cleanup/MirvenComputerHelperDlg.h"
#include "cleanup/RunLock.h"
#include "cleanup/TempTree.h"
#include "cleanup/Traces.h"
#include "res/resource.h"
#include "support/WinTest.h"

namespace {

class TestTraces : public cleanup::Traces {
 public:
  std::string profile;
  std::string ProfileFolder() override { return profile; }
  std::string CookiesFolder() override { return ""; }
  void EmptyRecycleBin(HWND) override {}
};

// Whether another thread (another run) gets the lock; it lets go at once.
bool OtherRunGetsLock() {
  return std::async(std::launch::async,
                    [] {
                      cleanup::RunLock lock;
                      return lock.TryAcquire();
                    })
      .get();
}

TEST(RunLock, PageAndCommandLineTakeTurns) {
  cleanuptest::TempTree tree("lock");
  for (int f = 0; f < 50; ++f) tree.Write("d\\f" + std::to_string(f) + ".tmp", 10);
  TestTraces traces;
  traces.profile = tree.Root();
  cleanup::Traces* old = cleanup::SetTraces(&traces);
  HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 440, nullptr,
                              nullptr, nullptr, nullptr);
  auto page = std::make_unique<CMirvenComputerHelperDlg>();
  ASSERT_TRUE(page->Create(host));
  ShowWindow(host, SW_SHOW);
  ShowWindow(page->hwnd(), SW_SHOW);
  ASSERT_TRUE(wintest::PumpUntil([&] { return page->RootSizeKnown(); }, 20000));
  auto click = [&](int id) { SendMessageW(GetDlgItem(page->hwnd(), id), BM_CLICK, 0, 0); };
  auto status = [&] { return wintest::TextOf(GetDlgItem(page->hwnd(), IDC_CLEANUP_STATUS)); };

  // A command-line run holds the lock on a thread of its own.
  std::promise<void> taken, done;
  std::thread run([&] {
    cleanup::RunLock lock;
    EXPECT_TRUE(lock.TryAcquire());
    taken.set_value();
    done.get_future().wait();
  });
  taken.get_future().wait();
  click(IDC_CLEANUP_SCAN_NOW);
  EXPECT_FALSE(page->IsScanning());
  EXPECT_EQ(status(), cleanup::kAnotherRun);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page->hwnd(), IDC_CLEANUP_SCAN_NOW)));
  click(IDC_CLEANUP_CLEAN_ALL);
  EXPECT_FALSE(page->IsCleaning());
  EXPECT_EQ(status(), cleanup::kAnotherRun);
  done.set_value();
  run.join();

  // The page's scan holds it until it ends; a paused scan still runs.
  click(IDC_CLEANUP_START);
  ASSERT_TRUE(page->IsScanning());
  page->OnPauseClicked();
  EXPECT_FALSE(OtherRunGetsLock());
  page->OnStopClicked();
  EXPECT_TRUE(OtherRunGetsLock());

  page.reset();
  DestroyWindow(host);
  cleanup::SetTraces(old);
}

}  // namespace
