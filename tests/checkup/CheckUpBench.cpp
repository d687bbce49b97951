// Not a test: how long the check-up page's thread takes to answer a posted
// message while a check-up walks a large profile, against the same measure
// while the page is idle. Run by scripts/bench-checkup.sh (suite CheckUpBench, which
// CTest does not run) with MIRVEN_BENCH_TREE naming the prepared folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "checkup/CheckUpSystem.h"
#include "checkup/ComputerTestDlg.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "ui/Task.h"

namespace {

using Clock = std::chrono::steady_clock;

class TreeSystem : public checkup::CheckUpSystem {
 public:
  std::string root;
  checkup::CheckUpFolders Folders() override { return {{root, "", "", ""}}; }
};

// Posts a task to `hwnd` every 5 ms and records how long each took to run.
class Prober {
 public:
  explicit Prober(HWND hwnd) : hwnd_(hwnd), thread_([this] { Loop(); }) {}
  ~Prober() {
    stop_ = true;
    thread_.join();
  }
  std::vector<double> Latencies() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ms_;
  }

 private:
  void Loop() {
    while (!stop_) {
      Clock::time_point sent = Clock::now();
      ui::PostTask(hwnd_, [this, sent] {
        double ms = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
        std::lock_guard<std::mutex> lock(mutex_);
        ms_.push_back(ms);
      });
      Sleep(5);
    }
  }
  HWND hwnd_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<double> ms_;
  std::thread thread_;
};

void Report(const char* what, std::vector<double> v) {
  std::sort(v.begin(), v.end());
  double p99 = v.empty() ? 0 : v[v.size() * 99 / 100];
  std::printf("%s %zu answers, worst %.1f ms, 99th percentile %.1f ms\n", what, v.size(),
              v.empty() ? 0 : v.back(), p99);
}

TEST(CheckUpBench, PageAnswersDuringACheckUp) {
  const char* tree = std::getenv("MIRVEN_BENCH_TREE");
  ASSERT_TRUE(tree) << "MIRVEN_BENCH_TREE names the prepared folder";
  TreeSystem system;
  system.root = tree;
  checkup::CheckUpSystem* old = checkup::SetCheckUpSystem(&system);
  HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                              440, nullptr, nullptr, nullptr, nullptr);
  auto page = std::make_unique<ComputerTestDlg>();
  ASSERT_TRUE(page->Create(host));
  ShowWindow(page->hwnd(), SW_SHOW);

  std::vector<double> checking, idle;
  Clock::time_point start = Clock::now();
  {
    Prober prober(page->hwnd());
    Clock::time_point click = Clock::now();
    page->StartCheckUp();
    std::printf("checking: the start handler itself took %.1f ms\n",
                std::chrono::duration<double, std::milli>(Clock::now() - click).count());
    ASSERT_TRUE(wintest::PumpUntil(
        [&] { return page->Flow().Current() != checkup::CheckUpFlow::State::kChecking; }, 600000));
    wintest::Pump();
    checking = prober.Latencies();
  }
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  {
    Prober prober(page->hwnd());
    wintest::PumpUntil([] { return false; }, static_cast<DWORD>(std::min(seconds, 20.0) * 1000));
    idle = prober.Latencies();
  }
  std::printf("files: the check-up of %s took %.1f s\n", tree, seconds);
  Report("idle:    ", idle);
  Report("checking:", checking);
  double idleWorst = idle.empty() ? 0 : *std::max_element(idle.begin(), idle.end());
  double checkWorst = checking.empty() ? 0 : *std::max_element(checking.begin(), checking.end());
  std::printf("ratio worst checking / worst idle: %.2f (goal: under 100 ms and at most 2)\n",
              idleWorst > 0 ? checkWorst / idleWorst : 0.0);
  page.reset();
  DestroyWindow(host);
  checkup::SetCheckUpSystem(old);
}

}  // namespace
