#pragma once
// Bookkeeping of a list box's horizontal extent: the widest line so far
// plus a margin, kept up to date line by line rather than by measuring
// every line after each addition. Portable, so it is tested natively.

namespace hslist {

constexpr int kMargin = 5;

class ExtentTracker {
 public:
  // A line of this width was added.
  void Added(int width) {
    if (width > widest_) widest_ = width;
  }
  // A line of this width is about to go: true when it may have been the
  // widest, so that the remaining lines must be measured again.
  bool NeedsRemeasure(int width) const { return width >= widest_; }
  void Reset(int widest = 0) { widest_ = widest; }
  int Widest() const { return widest_; }
  // The extent for a list of `lines` lines: none when it is empty.
  int Extent(int lines) const { return lines > 0 ? widest_ + kMargin : 0; }

 private:
  int widest_ = 0;
};

}  // namespace hslist
