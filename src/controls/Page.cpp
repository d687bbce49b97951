#include "controls/Page.h"

#include "controls/Colours.h"
#include "controls/Frame.h"
#include "res/resource.h"

namespace controls {

BOOL Page::OnInitDialog() {
  LayoutDialog::OnInitDialog();
  pageBrush_.Reset(CreateSolidBrush(colours::kPage));
  LayoutDialog::SetLayout(Layout(kWidth, kHeight));
  return TRUE;
}

BOOL Page::OnEraseBkgnd(HDC dc) {
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, pageBrush_.get());
  return TRUE;
}

void Page::OnPaint() {
  {
    ui::PaintDC dc(hwnd_);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc.get(), &r, pageBrush_.get());
  }
  if (framed_) PaintPageFrame();
}

void Page::OnNcPaint() {
  if (framed_)
    PaintPageFrame();
  else
    Default();
}

void Page::PaintPageFrame() {
  DrawFrame(hwnd_, FrameOf(hwnd_, dpi_), skin::kEdgesFirst, skin::kEdgesEnd, dpi_);
}

HBRUSH Page::OnCtlColor(HDC dc, HWND, UINT kind) {
  if (kind != CTLCOLOR_DLG && kind != CTLCOLOR_STATIC) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours::kText);
  SetBkColor(dc, colours::kPage);
  return pageBrush_.get();
}

HCURSOR Page::OnQueryDragIcon() {
  return reinterpret_cast<HCURSOR>(
      LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
}

void Page::OnCancel() {
  // Esc on a page means the same as on the main window: ask to close.
  if (HWND main = GetParent(hwnd_)) PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace controls
