#pragma once
// Design pixels to device pixels. Every window is designed at 96 DPI
// (100 %); at another DPI each edge is scaled on its own and rounded half
// up, so the rule is monotonic: rectangles that touched still touch, a gap
// keeps its scaled width within a pixel, and nothing overlaps that did not
// overlap in the design. Portable, tested natively.
#include "ui/Geometry.h"

namespace geom {

constexpr int kDesignDpi = 96;
// Windows offers scales from 100 % to 480 %; a DPI outside them is no real
// monitor's and would only make windows of absurd size.
constexpr int kMinDpi = kDesignDpi;
constexpr int kMaxDpi = kDesignDpi * 480 / 100;
constexpr int ClampDpi(int dpi) { return dpi < kMinDpi ? kMinDpi : dpi > kMaxDpi ? kMaxDpi : dpi; }

inline int Scale(int v, int dpi) {
  // floor(v * dpi / 96 + 1/2), with a floor that holds for negatives too
  long long q = static_cast<long long>(v) * dpi + kDesignDpi / 2;
  return static_cast<int>(q >= 0 ? q / kDesignDpi : -((-q + kDesignDpi - 1) / kDesignDpi));
}

inline Point Scale(Point p, int dpi) { return Point{Scale(p.x, dpi), Scale(p.y, dpi)}; }

inline Rect Scale(const Rect& r, int dpi) {
  return Rect{Scale(r.left, dpi), Scale(r.top, dpi), Scale(r.right, dpi), Scale(r.bottom, dpi)};
}

// Back from device to design pixels (hit tests on design tables): the
// design pixel whose scaled span holds v.
inline int Unscale(int v, int dpi) {
  int d = static_cast<int>(static_cast<long long>(v) * kDesignDpi / dpi);
  while (Scale(d + 1, dpi) <= v) ++d;
  while (d > 0 && Scale(d, dpi) > v) --d;
  return d;
}

inline Point Unscale(Point p, int dpi) { return Point{Unscale(p.x, dpi), Unscale(p.y, dpi)}; }

}  // namespace geom
