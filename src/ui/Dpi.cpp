#include "ui/Dpi.h"

namespace ui {
namespace {

template <typename F>
F UserProc(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  return user ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user, name)))
              : nullptr;
}

}  // namespace

int SystemDpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    int d = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return d > 0 ? d : geom::kDesignDpi;
  }();
  return dpi;
}

int DpiOf(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = UserProc<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpi && hwnd) {
    if (UINT d = getDpi(hwnd)) return static_cast<int>(d);
  }
  return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
  using MetricFn = int(WINAPI*)(int, UINT);
  static const auto metric = UserProc<MetricFn>("GetSystemMetricsForDpi");
  if (metric) return metric(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

void OwnDialogScaling(HWND dialog) {
  using BehaviorFn = BOOL(WINAPI*)(HWND, int, int);
  static const auto behave = UserProc<BehaviorFn>("SetDialogDpiChangeBehavior");
  constexpr int kDisableAll = 1;  // DDC_DISABLE_ALL
  if (behave && dialog) behave(dialog, kDisableAll, kDisableAll);
}

void MoveToSuggested(HWND hwnd, const RECT& suggested) {
  SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ui
