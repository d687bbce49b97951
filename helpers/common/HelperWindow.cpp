#include "common/HelperWindow.h"

#include <algorithm>

#include "controls/Colours.h"
#include "controls/LayoutDialog.h"
#include "ui/Dpi.h"
#include "base/Text.h"

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
  design_ = SIZE{clientWidth, clientHeight};
  dpi_ = ui::SystemDpi();
  RECT r{0, 0, S(clientWidth), S(clientHeight)};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int w = r.right - r.left, h = r.bottom - r.top;
  HWND hwnd = CreateWindowExW(0, kClassName, base::Wide(title).c_str(), style,
                              work.left + (work.right - work.left - w) / 2,
                              work.top + (work.bottom - work.top - h) / 2, w, h, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  windowBrush_.Reset(CreateSolidBrush(colours::kWindow));
  pageBrush_.Reset(CreateSolidBrush(colours::kPage));
  Attach(hwnd);
  // On a monitor other than the primary one the window's DPI can differ.
  int dpi = ui::DpiOf(hwnd);
  if (dpi != dpi_) {
    dpi_ = dpi;
    controls::SetClientSize(hwnd, S(design_.cx), S(design_.cy));
  }
  return true;
}

void HelperWindow::AddChild(HWND child, const RECT& r, int fontHeight, int weight) {
  children_.push_back(Child{child, r, fontHeight, weight});
  SetWindowPos(child, nullptr, S(r.left), S(r.top), S(r.right - r.left), S(r.bottom - r.top),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (fontHeight)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font(fontHeight, weight)), FALSE);
}

HWND HelperWindow::AddText(int id, const RECT& r, DWORD style, int fontHeight, int weight,
                           bool onPanel) {
  HWND h = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (h) {
    AddChild(h, r, fontHeight, weight);
    if (onPanel) onPanel_.push_back(h);
  }
  return h;
}

void HelperWindow::PlaceChildren() {
  std::vector<Child> children;
  children.swap(children_);
  for (const Child& c : children) AddChild(c.hwnd, c.rect, c.fontHeight, c.weight);
}

void HelperWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  ui::MoveToSuggested(hwnd_, suggested);
  controls::SetClientSize(hwnd_, S(design_.cx), S(design_.cy));
  PlaceChildren();
  InvalidateRect(hwnd_, nullptr, TRUE);
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
