#pragma once
// Where a window's controls go: each has a rectangle on the window's design
// (its client area at 100 %, 96 DPI) and a font. At another DPI every edge
// is scaled by the rule of ui/Scale.h; a window larger than its scaled
// design (a maximised main window) stretches its controls in proportion,
// except buttons, which keep the scaled size of their face pictures.
// Portable, tested natively.
#include <cstddef>

#include "ui/Scale.h"

namespace controls {

enum class Face { YaHei, Song };

struct FontStyle {
  Face face;
  int height;  // design pixels
  int weight;
  bool underline;
};

// Plain controls (labels, edits, lists, tabs, trees): what a dialog's 9-point
// "宋体" is at 96 DPI, so that every text of a window has one size.
constexpr FontStyle kControlFont{Face::Song, 12, 400, false};
// The bold "宋体" of window titles and page captions.
constexpr FontStyle kTitleFont{Face::Song, 12, 700, false};
// The cleanup page's status line: bold for its sentences; a path it
// follows during a scan is shown in the same face at regular weight.
constexpr FontStyle kStatusFont{Face::YaHei, 20, 700, false};

struct Place {
  int id, x, y, w, h;
  bool button = false;
  FontStyle font = kControlFont;
};

// One window's table: its design client size and its controls.
struct Layout {
  int width, height;
  const Place* places;
  std::size_t count;

  template <std::size_t N>
  constexpr Layout(int w, int h, const Place (&p)[N]) : width(w), height(h), places(p), count(N) {}
  constexpr Layout(int w, int h) : width(w), height(h), places(nullptr), count(0) {}
};

// Design edge `e` on an axis designed `design` long that is `actual`
// device pixels long at `dpi`.
inline int PlaceEdge(int e, int design, int actual, int dpi) {
  const long long scaled = geom::Scale(e, dpi), full = geom::Scale(design, dpi);
  if (full <= 0 || actual == full) return static_cast<int>(scaled);
  return static_cast<int>((scaled * actual + full / 2) / full);
}

inline geom::Rect PlaceRect(const Place& p, int designW, int designH, int cx, int cy,
                            int dpi = geom::kDesignDpi) {
  geom::Rect r;
  r.left = PlaceEdge(p.x, designW, cx, dpi);
  r.top = PlaceEdge(p.y, designH, cy, dpi);
  r.right = p.button ? r.left + geom::Scale(p.w, dpi) : PlaceEdge(p.x + p.w, designW, cx, dpi);
  r.bottom = p.button ? r.top + geom::Scale(p.h, dpi) : PlaceEdge(p.y + p.h, designH, cy, dpi);
  return r;
}

}  // namespace controls
