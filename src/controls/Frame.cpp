#include "controls/Frame.h"

#include "ui/Dpi.h"
#include "ui/Gdi.h"

namespace controls {

skin::Frame FrameOf(HWND hwnd, int dpi) {
  int fx = ui::MetricForDpi(SM_CXDLGFRAME, dpi), fy = ui::MetricForDpi(SM_CYDLGFRAME, dpi);
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_BORDER) {
    fx += ui::MetricForDpi(SM_CXBORDER, dpi);
    fy += ui::MetricForDpi(SM_CYBORDER, dpi);
  }
  SIZE s = ui::WindowSize(hwnd);
  return skin::FrameLayout(s.cx, s.cy, fx, fy, ui::MetricForDpi(SM_CYCAPTION, dpi) + fy, dpi);
}

void DrawFrame(HWND hwnd, const skin::Frame& frame, int first, int last, int dpi) {
  ui::WindowDC dc(hwnd);
  for (int k = first; k < last; ++k) {
    const skin::FramePiece& p = frame.pieces[k];
    ui::DrawBitmapTo(dc.get(), p.rect.left, p.rect.top, p.rect.Width(), p.rect.Height(), p.bitmap,
                     dpi);
  }
}

}  // namespace controls
