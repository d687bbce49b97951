// The memory page with a memory system of the test's: its texts, the
// timer's refresh, and speed-ups that run on a worker, freeing memory or
// not, and a page closed while one runs.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "memory/MemorySystem.h"
#include "memory/OptDialog.h"
#include "res/resource.h"
#include "support/WinTest.h"

namespace {

// Hands out the figures it is given; the speed-up waits for the test.
class FakeMemory : public memory::MemorySystem {
 public:
  std::atomic<int> percent{45}, total{8192}, used{3172};
  std::atomic<bool> release{true};
  std::atomic<int> optimizations{0};
  std::atomic<DWORD> thread{0};
  memory::Figures Read() override { return memory::Figures{percent, total, used}; }
  size_t Optimize() override {
    thread = GetCurrentThreadId();
    while (!release) Sleep(1);
    ++optimizations;
    return 1;
  }
  void Set(int p, int u) {
    percent = p;
    used = u;
  }
};

class MemoryPage : public testing::Test {
 protected:
  void SetUp() override {
    old_ = memory::SetMemorySystem(&fake_);
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 440,
                            nullptr, nullptr, nullptr, nullptr);
    page_ = std::make_unique<OptDialog>();
    ASSERT_TRUE(page_->Create(host_));
    ShowWindow(page_->hwnd(), SW_SHOW);
    // The test gives the ticks itself: a slow machine must not add one.
    ASSERT_TRUE(KillTimer(page_->hwnd(), OptDialog::kRefreshTimer));
  }
  void TearDown() override {
    fake_.release = true;
    page_.reset();
    DestroyWindow(host_);
    wintest::Pump();
    memory::SetMemorySystem(old_);
  }
  std::string Text(int id) { return wintest::TextOf(GetDlgItem(page_->hwnd(), id)); }
  void Click() { SendMessageW(GetDlgItem(page_->hwnd(), IDC_MEMORY_SPEED_UP), BM_CLICK, 0, 0); }
  bool WaitDone() {
    return wintest::PumpUntil([&] { return !page_->SpeedingUp(); });
  }

  FakeMemory fake_;
  memory::MemorySystem* old_ = nullptr;
  HWND host_ = nullptr;
  std::unique_ptr<OptDialog> page_;
};

TEST_F(MemoryPage, ShowsRefreshesAndReportsEachSpeedUp) {
  EXPECT_EQ(Text(IDC_MEMORY_USAGE), "45%");
  EXPECT_EQ(Text(IDC_MEMORY_USED), "3172MB");
  EXPECT_EQ(Text(IDC_MEMORY_TOTAL), "8192MB");
  EXPECT_EQ(Text(IDC_MEMORY_MESSAGE), "您的电脑内存快接近一半啦，试试加速下哦~");
  EXPECT_EQ(Text(IDC_MEMORY_USAGE_LABEL), "当前内存使用率：");

  fake_.Set(81, 6700);
  SendMessageW(page_->hwnd(), WM_TIMER, OptDialog::kRefreshTimer, 0);
  EXPECT_EQ(Text(IDC_MEMORY_USAGE), "81%");
  EXPECT_EQ(Text(IDC_MEMORY_USED), "6700MB");
  EXPECT_EQ(Text(IDC_MEMORY_MESSAGE), "你的电脑已经寸步难行啦，赶紧加速下吧~");

  // The speed-up runs on a worker; the button waits for it.
  fake_.release = false;
  Click();
  ASSERT_TRUE(wintest::PumpUntil([&] { return fake_.thread != 0; }));
  EXPECT_NE(fake_.thread, GetCurrentThreadId());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page_->hwnd(), IDC_MEMORY_SPEED_UP)));
  Click();  // ignored while one runs
  fake_.Set(40, 6485);
  fake_.release = true;
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(fake_.optimizations, 1);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page_->hwnd(), IDC_MEMORY_SPEED_UP)));
  EXPECT_EQ(Text(IDC_MEMORY_MESSAGE), "本次加速为您清理了215MB内存哦~");
  EXPECT_EQ(Text(IDC_MEMORY_USAGE), "40%");
  EXPECT_EQ(Text(IDC_MEMORY_USED), "6700MB");  // until the next tick

  // Memory use grew meanwhile: a negative result, told as it is.
  fake_.Set(41, 6497);
  Click();
  ASSERT_TRUE(WaitDone());
  EXPECT_EQ(Text(IDC_MEMORY_MESSAGE), "本次加速为您清理了-12MB内存哦~");

  SendMessageW(page_->hwnd(), WM_TIMER, OptDialog::kRefreshTimer, 0);
  EXPECT_EQ(Text(IDC_MEMORY_USED), "6497MB");
  EXPECT_EQ(Text(IDC_MEMORY_MESSAGE), "您的电脑内存快接近一半啦，试试加速下哦~");
}

TEST_F(MemoryPage, ClosingDuringASpeedUpEndsCleanly) {
  fake_.release = false;
  Click();
  ASSERT_TRUE(wintest::PumpUntil([&] { return fake_.thread != 0; }));
  std::thread releaser([&] {
    Sleep(100);
    fake_.release = true;
  });
  page_.reset();  // waits for the worker; its late result is dropped
  releaser.join();
  EXPECT_EQ(fake_.optimizations, 1);
  wintest::Pump();
}

}  // namespace
