#include "tools/Tiles.h"

namespace tiles {

int TileHover::IndexAt(geom::Point p) const {
  for (std::size_t i = 0; i < count_; ++i)
    if (tiles_[i].rect.Contains(p)) return static_cast<int>(i);
  return -1;
}

int TileHover::CodeAt(geom::Point p) const {
  int i = IndexAt(p);
  return i < 0 ? 0 : tiles_[i].code;
}

TileHover::Redraw TileHover::Move(geom::Point p) { return MoveTo(IndexAt(p)); }

TileHover::Redraw TileHover::Leave() { return MoveTo(-1); }

TileHover::Redraw TileHover::MoveTo(int index) {
  Redraw r;
  if (index == hovered_) return r;
  r.restore = hovered_;
  r.light = index;
  hovered_ = index;
  return r;
}

}  // namespace tiles
