#pragma once
// Where the skinned frame of a secondary window draws its pieces and where
// its caption buttons answer, for a window W x H device pixels with frame
// FX/FY and caption height C, at DPI `dpi` (the buttons' 26 design pixels
// scale with it). Portable, so the rules are tested natively.
#include "res/Bitmaps.h"
#include "ui/Scale.h"

namespace skin {

enum class CaptionButton { None, Minimize, Close };

// The buttons answer 5 pixels right of where they are drawn.
// A rectangle `right` to `left` design pixels left of the window's right
// edge, 26 high, in device pixels.
inline geom::Rect FromRight(int w, int left, int right, int dpi) {
  return geom::Rect{w - geom::Scale(left, dpi), 0, w - geom::Scale(right, dpi),
                    geom::Scale(26, dpi)};
}
inline geom::Rect CloseHitRect(int w, int dpi = geom::kDesignDpi) { return FromRight(w, 26, 0, dpi); }
inline geom::Rect MinimizeHitRect(int w, int dpi = geom::kDesignDpi) {
  return FromRight(w, 52, 26, dpi);
}
inline geom::Rect CloseDrawRect(int w, int dpi = geom::kDesignDpi) {
  return FromRight(w, 31, 5, dpi);
}
inline geom::Rect MinimizeDrawRect(int w, int dpi = geom::kDesignDpi) {
  return FromRight(w, 57, 31, dpi);
}

inline CaptionButton CaptionButtonAt(int w, geom::Point p, int dpi = geom::kDesignDpi) {
  if (CloseHitRect(w, dpi).Contains(p)) return CaptionButton::Close;
  if (MinimizeHitRect(w, dpi).Contains(p)) return CaptionButton::Minimize;
  return CaptionButton::None;
}

struct FramePiece {
  int bitmap;
  geom::Rect rect;
};

// The frame pieces in drawing order (caption, icon, left, bottom, right,
// minimise, close).
struct Frame {
  FramePiece pieces[7];
};
// The three edges (left, bottom, right), which pages draw as well.
constexpr int kEdgesFirst = 2, kEdgesEnd = 5, kPieceCount = 7;

inline Frame FrameLayout(int w, int h, int fx, int fy, int c, int dpi = geom::kDesignDpi) {
  return Frame{{
      {IDB_CAPTION_LEFT, geom::Rect::At(0, 0, w, c)},
      {IDB_FRAME_ICON, geom::Rect::At(geom::Scale(3, dpi), 0, geom::Scale(26, dpi), c)},
      {IDB_FRAME_LEFT, geom::Rect::At(0, c, fx, h - fy)},
      {IDB_FRAME_BOTTOM, geom::Rect::At(fx, h - fx, w - 2 * fx, fx)},
      {IDB_FRAME_RIGHT, geom::Rect::At(w - fx, c, fx, h - fy)},
      {IDB_MINIMIZE, MinimizeDrawRect(w, dpi)},
      {IDB_CLOSE, CloseDrawRect(w, dpi)},
  }};
}

}  // namespace skin
