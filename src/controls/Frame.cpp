#include "controls/Frame.h"

#include "ui/Gdi.h"

namespace controls {

skin::Frame FrameOf(HWND hwnd) {
  int fx = GetSystemMetrics(SM_CXDLGFRAME), fy = GetSystemMetrics(SM_CYDLGFRAME);
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_BORDER) {
    fx += GetSystemMetrics(SM_CXBORDER);
    fy += GetSystemMetrics(SM_CYBORDER);
  }
  SIZE s = ui::WindowSize(hwnd);
  return skin::FrameLayout(s.cx, s.cy, fx, fy, GetSystemMetrics(SM_CYCAPTION) + fy);
}

void DrawFrame(HWND hwnd, const skin::Frame& frame, int first, int last) {
  ui::WindowDC dc(hwnd);
  for (int k = first; k < last; ++k) {
    const skin::FramePiece& p = frame.pieces[k];
    ui::DrawBitmapTo(dc.get(), p.rect.left, p.rect.top, p.rect.Width(), p.rect.Height(), p.bitmap);
  }
}

}  // namespace controls
