#pragma once
// Where the skinned frame of a secondary window draws its pieces and where
// its caption buttons answer, for a window W x H with frame FX/FY and
// caption height C. Portable, so the rules are tested natively.
#include "ui/Geometry.h"
#include "res/Bitmaps.h"

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
// The three edges (left, bottom, right), which pages draw as well.
constexpr int kEdgesFirst = 2, kEdgesEnd = 5, kPieceCount = 7;

inline Frame FrameLayout(int w, int h, int fx, int fy, int c) {
  return Frame{{
      {IDB_CAPTION_LEFT, geom::Rect::At(0, 0, w, c)},
      {IDB_FRAME_ICON, geom::Rect::At(3, 0, 26, c)},
      {IDB_FRAME_LEFT, geom::Rect::At(0, c, fx, h - fy)},
      {IDB_FRAME_BOTTOM, geom::Rect::At(fx, h - fx, w - 2 * fx, fx)},
      {IDB_FRAME_RIGHT, geom::Rect::At(w - fx, c, fx, h - fy)},
      {IDB_MINIMIZE, MinimizeDrawRect(w)},
      {IDB_CLOSE, CloseDrawRect(w)},
  }};
}

}  // namespace skin
