#pragma once
// Portable rectangles for hit tests: a rectangle holds its left and top
// edges but not its right and bottom edges.

namespace geom {

struct Point {
  int x = 0;
  int y = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  static Rect At(int x, int y, int w, int h) { return Rect{x, y, x + w, y + h}; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

}  // namespace geom
