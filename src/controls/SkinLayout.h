#pragma once
// Where the skinned frame of a secondary window draws its pieces and where
// its caption buttons answer, for a window W x H with frame FX/FY and
// caption height C. Portable, so the rules are tested natively.
#include "ui/Geometry.h"

namespace skin {

enum class CaptionButton { None, Minimize, Close };

// The buttons answer 5 pixels right of where they are drawn.
inline geom::Rect CloseHitRect(int w) { return geom::Rect{w - 26, 0, w, 26}; }
inline geom::Rect MinimizeHitRect(int w) { return geom::Rect{w - 52, 0, w - 26, 26}; }
inline geom::Rect CloseDrawRect(int w) { return geom::Rect::At(w - 31, 0, 26, 26); }
inline geom::Rect MinimizeDrawRect(int w) { return geom::Rect::At(w - 57, 0, 26, 26); }

inline CaptionButton CaptionButtonAt(int w, geom::Point p) {
  if (CloseHitRect(w).Contains(p)) return CaptionButton::Close;
  if (MinimizeHitRect(w).Contains(p)) return CaptionButton::Minimize;
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

inline Frame FrameLayout(int w, int h, int fx, int fy, int c) {
  return Frame{{
      {204, geom::Rect::At(0, 0, w, c)},
      {210, geom::Rect::At(3, 0, 26, c)},
      {203, geom::Rect::At(0, c, fx, h - fy)},
      {200, geom::Rect::At(fx, h - fx, w - 2 * fx, fx)},
      {208, geom::Rect::At(w - fx, c, fx, h - fy)},
      {206, MinimizeDrawRect(w)},
      {201, CloseDrawRect(w)},
  }};
}

}  // namespace skin
