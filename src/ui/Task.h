#pragma once
// The one way from a worker thread to a window: PostTask queues a closure
// that runs on the window's own thread, in its message loop. A closure for
// a window that is destroyed before it runs is deleted, never run.
#include <windows.h>

#include <functional>

namespace ui {

// Queues `task` for `hwnd`'s thread; false (task dropped) when the window
// is gone or its queue is full.
bool PostTask(HWND hwnd, std::function<void()> task);

// The registered message that carries tasks; the window layer runs them.
UINT TaskMessage();
// Runs the task carried by a TaskMessage and frees it.
void RunTask(LPARAM lp);
// Frees, without running, the tasks still queued for `hwnd`.
void DropTasks(HWND hwnd);

}  // namespace ui
