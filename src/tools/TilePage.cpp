#include "tools/TilePage.h"

#include "ui/Gdi.h"

namespace tools {

void TilePage::DrawTile(HDC dc, int index, bool lit) const {
  const tiles::Tile& t = tiles_[index];
  geom::Rect r = S(t.rect);
  ui::DrawBitmapTo(dc, r.left, r.top, r.Width(), r.Height(), lit ? t.hoverBitmap : t.normalBitmap,
                   dpi_);
}

void TilePage::OnPaint() {
  ui::PaintDC dc(hwnd_);
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc.get(), &r, pageBrush_.get());
  for (std::size_t i = 0; i < count_; ++i)
    DrawTile(dc.get(), static_cast<int>(i), static_cast<int>(i) == hover_.hovered());
  PaintCaptions(dc.get());
}

void TilePage::Redraw(tiles::TileHover::Redraw r) {
  if (r.restore < 0 && r.light < 0) return;
  ui::ClientDC dc(hwnd_);
  if (r.restore >= 0) DrawTile(dc.get(), r.restore, false);
  if (r.light >= 0) DrawTile(dc.get(), r.light, true);
}

void TilePage::OnMouseMove(UINT, POINT client) {
  if (!tracking_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&tme) != FALSE;
  }
  Redraw(hover_.Move(geom::Unscale(geom::Point{client.x, client.y}, dpi_)));
  if (hover_.hovered() >= 0) SetCursor(LoadCursorW(nullptr, IDC_HAND));
  Default();
}

void TilePage::OnLButtonUp(UINT, POINT client) {
  int code = hover_.CodeAt(geom::Unscale(geom::Point{client.x, client.y}, dpi_));
  Default();
  if (code) OnTile(code);
}

LRESULT TilePage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSELEAVE) {
    tracking_ = false;
    Redraw(hover_.Leave());
    return 0;
  }
  if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT && hover_.hovered() >= 0) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return controls::Page::WindowProc(msg, wp, lp);
}

}  // namespace tools
