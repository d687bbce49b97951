#include "controls/Page.h"

#include "controls/Colours.h"

namespace controls {

BOOL Page::OnInitDialog() {
  pageBrush_.Reset(CreateSolidBrush(colours::kPage));
  SetWindowPos(hwnd_, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL Page::OnEraseBkgnd(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, pageBrush_.get());
  return TRUE;
}

HBRUSH Page::OnCtlColor(HDC dc, HWND, UINT kind) {
  if (kind != CTLCOLOR_DLG && kind != CTLCOLOR_STATIC) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours::kText);
  SetBkColor(dc, colours::kPage);
  return pageBrush_.get();
}

void Page::OnCancel() {
  // Esc on a page means the same as on the main window: ask to close.
  if (HWND main = GetParent(hwnd_)) PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace controls
