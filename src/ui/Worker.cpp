#include "ui/Worker.h"

#include <windows.h>

#include "ui/Task.h"

namespace ui {
namespace {

struct Launch {
  Worker::Body body;
  StopToken token;
};

DWORD WINAPI ThreadMain(LPVOID p) {
  std::unique_ptr<Launch> launch(static_cast<Launch*>(p));
  launch->body(launch->token);
  return 0;
}

bool Ended(void* thread) { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

}  // namespace

bool StopToken::Post(HWND hwnd, std::function<void()> task) const {
  return PostTask(hwnd, [current = current_, run = run_, task = std::move(task)] {
    if (current->load() == run) task();
  });
}

Worker::~Worker() {
  current_->fetch_add(1);
  StopAndJoin();
}

bool Worker::Start(Body body) {
  RequestStop();
  Prune();
  auto stop = std::make_shared<std::atomic<bool>>(false);
  const uint64_t run = current_->fetch_add(1) + 1;
  auto* launch = new Launch{std::move(body), StopToken(stop, current_, run)};
  HANDLE thread = CreateThread(nullptr, 0, ThreadMain, launch, 0, nullptr);
  if (!thread) {
    delete launch;
    return false;
  }
  runs_.push_back(Run{thread, std::move(stop)});
  return true;
}

void Worker::Abandon() {
  RequestStop();
  current_->fetch_add(1);
}

void Worker::RequestStop() {
  if (!runs_.empty()) runs_.back().stop->store(true);
}

bool Worker::Running() const { return !runs_.empty() && !Ended(runs_.back().thread); }

void Worker::StopAndJoin(unsigned long limitMs) {
  for (Run& run : runs_) run.stop->store(true);
  for (Run& run : runs_) {
    WaitForSingleObject(run.thread, limitMs);
    CloseHandle(run.thread);
  }
  runs_.clear();
}

void Worker::Prune() {
  for (size_t k = 0; k + 1 < runs_.size();) {
    if (Ended(runs_[k].thread)) {
      CloseHandle(runs_[k].thread);
      runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(k));
    } else {
      ++k;
    }
  }
}

}  // namespace ui
