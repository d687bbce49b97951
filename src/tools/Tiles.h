#pragma once
// The picture tiles of the toolkit and shopping pages: their places and
// pictures, and which tile the pointer is over. Portable, tested natively.
#include <cstddef>

#include "ui/Geometry.h"

namespace tiles {

struct Tile {
  int code;         // what a click on it means to its page
  geom::Rect rect;  // client pixels; left and top edges inside
  int normalBitmap;
  int hoverBitmap;
  const char* name;  // what the tile shows, for a screen reader
};

// Tracks the tile under the pointer. Each change names at most one tile to
// draw normal again and one to light, so a move straight from one tile onto
// the next never leaves two lit.
class TileHover {
 public:
  TileHover(const Tile* tiles, std::size_t count) : tiles_(tiles), count_(count) {}

  struct Redraw {
    int restore = -1;  // index of the tile to draw with its normal picture
    int light = -1;    // index of the tile to draw with its hover picture
  };

  // Index of the first tile holding `p`, or -1.
  int IndexAt(geom::Point p) const;
  // Code of the tile holding `p`, or 0.
  int CodeAt(geom::Point p) const;

  Redraw Move(geom::Point p);
  // The pointer left the page.
  Redraw Leave();
  int hovered() const { return hovered_; }

 private:
  Redraw MoveTo(int index);

  const Tile* tiles_;
  std::size_t count_;
  int hovered_ = -1;
};

}  // namespace tiles
