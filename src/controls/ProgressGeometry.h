#pragma once
// Where the flat progress bar draws its bar inside a client area of
// width x height for a range [lower, upper] and a position. Portable, so
// the rules are tested natively.
#include <algorithm>
#include <cstdint>

#include "ui/Geometry.h"

namespace progress {

// The bar keeps a one-pixel trough margin above, below and at the left; its
// right edge is the filled share of the width, less one pixel. An empty or
// reversed range, or a position at or below the lower bound, draws no bar.
// Positions outside the range count as its ends, and the share is taken from
// the lower bound, so ranges that do not start at 0 fill in proportion too.
inline geom::Rect BarRect(int width, int height, std::int64_t lower, std::int64_t upper,
                          std::int64_t pos) {
  geom::Rect bar{1, 1, 0, height - 1};
  if (width <= 0 || upper <= lower) return bar;
  pos = std::clamp(pos, lower, upper);
  // Both factors are below 2^32 and 2^31: the product fits in 64 bits, and
  // integer arithmetic keeps 50 of 100 on 201 pixels at exactly 100.
  std::uint64_t filled = static_cast<std::uint64_t>(pos - lower) *
                         static_cast<std::uint64_t>(width) /
                         static_cast<std::uint64_t>(upper - lower);
  bar.right = static_cast<int>(filled) - 1;
  return bar;
}

inline bool IsEmpty(const geom::Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace progress
