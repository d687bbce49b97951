#include "ui/Task.h"

#include <memory>

namespace ui {

UINT TaskMessage() {
  static const UINT message = RegisterWindowMessageW(L"Mirven.Task");
  return message;
}

bool PostTask(HWND hwnd, std::function<void()> task) {
  auto* heap = new std::function<void()>(std::move(task));
  if (hwnd && PostMessageW(hwnd, TaskMessage(), 0, reinterpret_cast<LPARAM>(heap))) return true;
  delete heap;
  return false;
}

void RunTask(LPARAM lp) {
  std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lp));
  if (task && *task) (*task)();
}

void DropTasks(HWND hwnd) {
  const UINT message = TaskMessage();
  MSG m;
  while (PeekMessageW(&m, hwnd, message, message, PM_REMOVE)) {
    // PeekMessage hands out WM_QUIT whatever the filter: put it back.
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    delete reinterpret_cast<std::function<void()>*>(m.lParam);
  }
}

}  // namespace ui
