#include "common/HelperWindow.h"

#include <algorithm>

#include "controls/Colours.h"
#include "ui/Text.h"

namespace helpers {
namespace {

const wchar_t kClassName[] = L"MirvenHelperWindow";

bool RegisterFrameClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(128));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

}  // namespace

bool HelperWindow::CreateFrame(const std::string& title, int clientWidth, int clientHeight) {
  if (!RegisterFrameClass()) return false;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  HWND hwnd = CreateWindowExW(0, kClassName, ui::Wide(title).c_str(), style,
                              work.left + (work.right - work.left - w) / 2,
                              work.top + (work.bottom - work.top - h) / 2, w, h, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  windowBrush_.Reset(CreateSolidBrush(colours::kWindow));
  pageBrush_.Reset(CreateSolidBrush(colours::kPage));
  Attach(hwnd);
  return true;
}

HWND HelperWindow::AddText(int id, const RECT& r, DWORD style, HFONT font, bool onPanel) {
  HWND h = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (h) {
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (onPanel) onPanel_.push_back(h);
  }
  return h;
}

BOOL HelperWindow::OnEraseBkgnd(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, windowBrush_.get());
  return TRUE;
}

HBRUSH HelperWindow::OnCtlColor(HDC dc, HWND control, UINT) {
  bool onPanel = std::find(onPanel_.begin(), onPanel_.end(), control) != onPanel_.end();
  SetTextColor(dc, colours::kText);
  SetBkColor(dc, onPanel ? colours::kPage : colours::kWindow);
  return onPanel ? pageBrush_.get() : windowBrush_.get();
}

void HelperWindow::PostNcDestroy() {
  // Not in WM_DESTROY: the window layer peeks at this window's queue after
  // it, and a peek takes WM_QUIT whatever its filter.
  if (quitOnDestroy_) PostQuitMessage(0);
}

int Run(HelperWindow& window, int show) {
  window.QuitOnDestroy();
  if (!window.Create()) return 1;
  ShowWindow(window.hwnd(), show);
  UpdateWindow(window.hwnd());
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}

}  // namespace helpers
