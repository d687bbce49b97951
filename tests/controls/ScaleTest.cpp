#include <gtest/gtest.h>

#include <random>

#include "controls/PageLayout.h"
#include "controls/SkinLayout.h"
#include "ui/Scale.h"

namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192, 240};

bool Overlap(const geom::Rect& a, const geom::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

TEST(Scale, NeighboursKeepTheirGapsAndNothingNewOverlaps) {
  // Toolkit tiles: 64 wide, 10 apart.
  for (int x = 0; x < 700; x += 74) {
    geom::Rect a = geom::Scale(geom::Rect::At(x, 40, 64, 64), 144);
    geom::Rect b = geom::Scale(geom::Rect::At(x + 74, 40, 64, 64), 144);
    EXPECT_NEAR(b.left - a.right, 15, 1) << x;
    EXPECT_NEAR(a.Width(), 96, 1) << x;
  }
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pos(-50, 800), size(0, 120);
  for (int k = 0; k < 20000; ++k) {
    geom::Rect a = geom::Rect::At(pos(random), pos(random), size(random), size(random));
    geom::Rect b = geom::Rect::At(pos(random), pos(random), size(random), size(random));
    for (int dpi : kDpis) {
      geom::Rect sa = geom::Scale(a, dpi), sb = geom::Scale(b, dpi);
      if (!Overlap(a, b)) {
        ASSERT_FALSE(Overlap(sa, sb)) << k << " at " << dpi;
      }
      // Touching edges stay touching.
      if (a.right == b.left) {
        ASSERT_EQ(sa.right, sb.left);
      }
    }
  }
}

TEST(Scale, DevicePixelsMapBackToTheDesignPixelHoldingThem) {
  for (int dpi : kDpis) {
    EXPECT_EQ(geom::Scale(781, dpi) >= 781 * dpi / 96, true);
    for (int d = 0; d < 800; ++d)
      for (int v = geom::Scale(d, dpi); v < geom::Scale(d + 1, dpi); ++v)
        ASSERT_EQ(geom::Unscale(v, dpi), d) << v << " at " << dpi;
  }
  EXPECT_EQ(geom::Scale(-3, 144), -4);  // rounds half up on both sides of 0
  EXPECT_EQ(geom::Scale(-1, 144), -1);
  EXPECT_EQ(geom::Scale(1, 144), 2);
}

TEST(Scale, PlacesScaleWithTheDpiAndStretchWithTheWindow) {
  const controls::Place list{1, 10, 76, 504, 284};
  const controls::Place button{2, 10, 367, 88, 25, true};
  geom::Rect r = controls::PlaceRect(list, 781, 400, 1172, 600, 144);
  EXPECT_EQ(r.left, 15);
  EXPECT_EQ(r.top, 114);
  EXPECT_EQ(r.right, 771);
  EXPECT_EQ(r.bottom, 540);
  // A maximised page twice its scaled size: lists stretch, buttons keep
  // the scaled size of their faces.
  r = controls::PlaceRect(list, 781, 400, 2344, 1200, 144);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.Width(), 2 * (771 - 15));
  r = controls::PlaceRect(button, 781, 400, 2344, 1200, 144);
  EXPECT_EQ(r.Width(), 132);
  EXPECT_EQ(r.Height(), 38);
}

TEST(Scale, SkinnedCaptionButtonsScaleFromTheRightEdge) {
  const int w = 600;
  EXPECT_EQ(skin::CloseHitRect(w, 192).left, w - 52);
  EXPECT_EQ(skin::CloseDrawRect(w, 192).right, w - 10);
  EXPECT_EQ(skin::CloseDrawRect(w, 192).Height(), 52);
  EXPECT_EQ(skin::CaptionButtonAt(w, {w - 60, 10}, 192), skin::CaptionButton::Minimize);
  EXPECT_EQ(skin::CaptionButtonAt(w, {w - 60, 10}, 96), skin::CaptionButton::None);
}
