#pragma once
// The keyboard's way through a window's painted targets (page buttons,
// tiles, cards, caption pictures): Tab follows reading order, the arrow
// keys move within a target's group and wrap around it, and a disabled
// target is passed over. Portable, tested natively.
#include <cstddef>
#include <vector>

#include "ui/Geometry.h"

namespace focus {

struct Stop {
  geom::Rect rect;  // design pixels
  int group = 0;
  bool enabled = true;
};

enum class Arrow { Left, Right, Up, Down };

// Indices of `stops` in reading order: rows by their top edge, top to
// bottom, each row left to right.
std::vector<int> ReadingOrder(const Stop* stops, std::size_t count);

// Where an arrow key takes the focus from `from`, within from's group.
// Left and Right step through the group in reading order. Up and Down go
// to the nearest target (by the centres) of the row above or below; in a
// group of one row they step like Left and Right. Returns `from` when no
// other target of the group can take the focus.
int Move(const Stop* stops, std::size_t count, int from, Arrow arrow);

}  // namespace focus
