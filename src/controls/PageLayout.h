#pragma once
// Where a page's controls go: each has a rectangle on the 781 x 400 design
// of the page and moves and grows with the page; buttons keep the size of
// their face pictures. Portable, tested natively.
#include <cstddef>

#include "ui/Geometry.h"

namespace controls {

struct Place {
  int id, x, y, w, h;
  bool button;
};

inline geom::Rect PlaceRect(const Place& p, int designW, int designH, int cx, int cy) {
  const double fx = static_cast<double>(cx) / designW, fy = static_cast<double>(cy) / designH;
  int x = static_cast<int>(p.x * fx), y = static_cast<int>(p.y * fy);
  int w = p.button ? p.w : static_cast<int>(p.w * fx);
  int h = p.button ? p.h : static_cast<int>(p.h * fy);
  return geom::Rect::At(x, y, w, h);
}

}  // namespace controls
