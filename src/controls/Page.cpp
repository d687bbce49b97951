#include "controls/Page.h"

#include "controls/Colours.h"
#include "controls/Frame.h"
#include "res/resource.h"

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
  DrawFrame(hwnd_, FrameOf(hwnd_), skin::kEdgesFirst, skin::kEdgesEnd);
}

void Page::SetLayout(const Place* places, size_t count) {
  places_ = places;
  placeCount_ = count;
  layoutWidth_ = layoutHeight_ = 0;
  RECT r;
  GetClientRect(hwnd_, &r);
  Layout(r.right > 0 ? r.right : kWidth, r.bottom > 0 ? r.bottom : kHeight);
}

void Page::Layout(int cx, int cy) {
  if (cx == layoutWidth_ && cy == layoutHeight_) return;
  layoutWidth_ = cx;
  layoutHeight_ = cy;
  for (size_t k = 0; k < placeCount_; ++k) {
    geom::Rect r = PlaceRect(places_[k], kWidth, kHeight, cx, cy);
    SetWindowPos(Item(places_[k].id), nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Page::OnSize(UINT type, int cx, int cy) {
  Default();
  // Worked out from the design each time, so sizes that come and go never
  // accumulate rounding.
  if (places_ && type != SIZE_MINIMIZED && cx > 0 && cy > 0) Layout(cx, cy);
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
