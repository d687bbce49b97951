#include "tools/TilePage.h"

#include "ui/Gdi.h"

namespace tools {

BOOL TilePage::OnInitDialog() {
  controls::Page::OnInitDialog();
  if (IsWindowVisible(hwnd_)) CreateTargets();
  return TRUE;
}

void TilePage::CreateTargets() {
  if (targets_.Count()) return;
  std::vector<controls::Target> targets;
  for (std::size_t i = 0; i < count_; ++i) {
    const tiles::Tile& t = tiles_[i];
    // Each page's second group of tiles starts 200 pixels down.
    targets.push_back(controls::Target{t.code, t.rect, t.rect.top >= 200 ? 1 : 0, t.name,
                                       t.normalBitmap, t.hoverBitmap});
  }
  targets_.Create(hwnd_, std::move(targets), [this](int code) { OnTile(code); });
  targets_.Place(dpi_);
}

void TilePage::OnPaint() {
  // The tiles paint themselves (the page clips its children).
  ui::PaintDC dc(hwnd_);
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc.get(), &r, pageBrush_.get());
  PaintCaptions(dc.get());
}

void TilePage::Redraw(tiles::TileHover::Redraw r) {
  if (r.restore >= 0) targets_.SetLit(targets_.IndexOf(tiles_[r.restore].code), false);
  if (r.light >= 0) targets_.SetLit(targets_.IndexOf(tiles_[r.light].code), true);
}

void TilePage::OnLButtonDown(UINT, POINT client) {
  int code = hover_.CodeAt(geom::Unscale(geom::Point{client.x, client.y}, dpi_));
  pressed_ = code ? targets_.IndexOf(code) : -1;
  if (pressed_ >= 0) targets_.SetPressed(static_cast<std::size_t>(pressed_), true);
  Default();
}

void TilePage::ReleasePress() {
  if (pressed_ >= 0) targets_.SetPressed(static_cast<std::size_t>(pressed_), false);
  pressed_ = -1;
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
  ReleasePress();
  int code = hover_.CodeAt(geom::Unscale(geom::Point{client.x, client.y}, dpi_));
  Default();
  if (code) OnTile(code);
}

LRESULT TilePage::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSELEAVE) {
    tracking_ = false;
    ReleasePress();
    Redraw(hover_.Leave());
    return 0;
  }
  // The tiles are made when the page is first shown, not at start-up.
  if (msg == WM_SHOWWINDOW && wp) CreateTargets();
  if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT && hover_.hovered() >= 0) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return controls::Page::WindowProc(msg, wp, lp);
}

}  // namespace tools
