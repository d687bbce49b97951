// The window layer itself: who sees a child's notification first, objects
// that delete themselves, and the one road from a worker to a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "support/WinTest.h"
#include "ui/Dialog.h"
#include "ui/Task.h"
#include "ui/Worker.h"

namespace {

std::vector<std::string> trail;

class Child : public ui::Window {
 public:
  bool takes = false;

 protected:
  bool OnReflect(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (msg != WM_COMMAND) return false;
    trail.push_back("child");
    result = 0;
    return takes;
  }
};

class Parent : public ui::Dialog {
 public:
  Parent() : ui::Dialog(109) {}
  bool* deleted = nullptr;
  ~Parent() override {
    if (deleted) *deleted = true;
  }
  void CloseAndForget() {
    DeleteWhenDone();
    DestroyWindow(hwnd_);
    trail.push_back(deleted && *deleted ? "deleted inside" : "still here");
  }

 protected:
  bool OnCommand(int id, int, HWND) override {
    trail.push_back("parent");
    if (id == 7) CloseAndForget();
    return true;
  }
};

TEST(WindowLayer, ChildNotificationsGoToTheChildFirstAndDeletesWaitForTheHandler) {
  auto* parent = new Parent;
  ASSERT_TRUE(parent->Create(GetDesktopWindow()));
  HWND button = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 10, 10, parent->hwnd(),
                                reinterpret_cast<HMENU>(5), nullptr, nullptr);
  Child child;
  child.Attach(button);
  auto click = [&](int id) {
    SendMessageW(parent->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  };

  click(5);
  EXPECT_EQ(trail, (std::vector<std::string>{"child", "parent"}));
  trail.clear();
  child.takes = true;
  click(5);
  EXPECT_EQ(trail, (std::vector<std::string>{"child"}));

  // A handler that ends its own window: the object goes after the handler.
  trail.clear();
  child.takes = false;
  bool deleted = false;
  parent->deleted = &deleted;
  click(7);
  EXPECT_EQ(trail, (std::vector<std::string>{"child", "parent", "still here"}));
  EXPECT_TRUE(deleted);
  EXPECT_EQ(child.hwnd(), nullptr);  // detached when its window went
}

TEST(WindowLayer, TasksRunOnTheWindowThreadInOrderAndDieWithTheWindow) {
  ui::Dialog host(109);
  ASSERT_TRUE(host.Create(GetDesktopWindow()));
  const DWORD uiThread = GetCurrentThreadId();

  std::vector<int> seen;
  bool allOnUiThread = true;
  ui::Worker worker;
  ASSERT_TRUE(worker.Start([&, hwnd = host.hwnd()](const ui::StopToken&) {
    for (int k = 0; k < 50; ++k)
      ui::PostTask(hwnd, [&, k] {
        allOnUiThread = allOnUiThread && GetCurrentThreadId() == uiThread;
        seen.push_back(k);
      });
  }));
  EXPECT_TRUE(wintest::PumpUntil([&] { return seen.size() == 50; }));
  EXPECT_TRUE(allOnUiThread);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

  // Queued for a window that goes before they run: freed, never run.
  auto witness = std::make_shared<int>(0);
  bool ran = false;
  EXPECT_TRUE(ui::PostTask(host.hwnd(), [&ran, witness] { ran = true; }));
  HWND gone = host.hwnd();
  DestroyWindow(gone);
  wintest::Pump();
  EXPECT_FALSE(ran);
  EXPECT_EQ(witness.use_count(), 1);
  EXPECT_FALSE(ui::PostTask(gone, [witness] {}));
  EXPECT_EQ(witness.use_count(), 1);

  // A quit asked for while a window goes is kept for the message loop.
  ui::Dialog other(109);
  ASSERT_TRUE(other.Create(GetDesktopWindow()));
  ui::PostTask(other.hwnd(), [] {});
  PostQuitMessage(3);
  DestroyWindow(other.hwnd());
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
}

TEST(WindowLayer, WorkersStopOnRequestAndANewRunHasItsOwnFlag) {
  std::atomic<int> ended{0};
  auto body = [&](const ui::StopToken& stop) {
    while (!stop.StopRequested()) Sleep(1);
    ++ended;
  };
  {
    ui::Worker worker;
    ASSERT_TRUE(worker.Start(body));
    EXPECT_TRUE(worker.Running());
    ASSERT_TRUE(worker.Start(body));  // the first run is asked to stop
    EXPECT_TRUE(wintest::PumpUntil([&] { return ended == 1; }));
    EXPECT_TRUE(worker.Running());
    worker.RequestStop();
    EXPECT_TRUE(wintest::PumpUntil([&] { return !worker.Running(); }));
    ASSERT_TRUE(worker.Start(body));
  }  // the destructor stops and joins the last run
  EXPECT_EQ(ended, 3);
}

// What a run posts reaches the window only while that run is its worker's
// current one: a newer run, Abandon or the worker's end drop it.
TEST(WindowLayer, PostsOfAnOlderRunAreDropped) {
  ui::Dialog host(109);
  ASSERT_TRUE(host.Create(GetDesktopWindow()));
  const HWND hwnd = host.hwnd();
  std::vector<std::string> shown;
  std::atomic<bool> release{false};
  auto posting = [&](std::string name) {
    return [&, hwnd, name](const ui::StopToken& run) {
      while (!release) Sleep(1);
      run.Post(hwnd, [&, name] { shown.push_back(name); });
    };
  };
  auto worker = std::make_unique<ui::Worker>();
  ASSERT_TRUE(worker->Start(posting("old")));
  ASSERT_TRUE(worker->Start(posting("new")));
  release = true;
  worker->StopAndJoin();
  wintest::Pump();
  EXPECT_EQ(shown, std::vector<std::string>{"new"});

  release = false;
  ASSERT_TRUE(worker->Start(posting("abandoned")));
  worker->Abandon();
  release = true;
  worker->StopAndJoin();
  ASSERT_TRUE(worker->Start([&, hwnd](const ui::StopToken& run) {
    run.Post(hwnd, [&] { shown.push_back("after its worker"); });
  }));
  worker.reset();
  wintest::Pump();
  EXPECT_EQ(shown, std::vector<std::string>{"new"});
}

}  // namespace
