#include "controls/SkinLayout.h"

#include <gtest/gtest.h>

using skin::CaptionButton;

TEST(SkinLayout, ButtonsAnswerFivePixelsRightOfTheirPictures) {
  const int w = 300;
  for (int x = 274; x <= 299; ++x)
    EXPECT_EQ(skin::CaptionButtonAt(w, {x, 0}), CaptionButton::Close) << x;
  for (int x = 248; x <= 273; ++x)
    EXPECT_EQ(skin::CaptionButtonAt(w, {x, 25}), CaptionButton::Minimize) << x;
  EXPECT_EQ(skin::CaptionButtonAt(w, {247, 0}), CaptionButton::None);
  EXPECT_EQ(skin::CaptionButtonAt(w, {300, 0}), CaptionButton::None);
  EXPECT_EQ(skin::CaptionButtonAt(w, {280, 26}), CaptionButton::None);
  EXPECT_EQ(skin::CloseDrawRect(w).left, 269);
  EXPECT_EQ(skin::CloseDrawRect(w).right - 1, 294);
  EXPECT_EQ(skin::MinimizeDrawRect(w).left, 243);
  EXPECT_EQ(skin::MinimizeDrawRect(w).right - 1, 268);
}

TEST(SkinLayout, FramePiecesJoinAroundTheWindow) {
  const int w = 400, h = 300, fx = 3, fy = 3, c = 22;
  skin::Frame f = skin::FrameLayout(w, h, fx, fy, c);
  const int order[] = {204, 210, 203, 200, 208, 206, 201};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(f.pieces[i].bitmap, order[i]);
  const geom::Rect& caption = f.pieces[0].rect;
  const geom::Rect& left = f.pieces[2].rect;
  const geom::Rect& bottom = f.pieces[3].rect;
  const geom::Rect& right = f.pieces[4].rect;
  EXPECT_EQ(caption.Width(), w);
  EXPECT_EQ(caption.bottom, left.top);
  EXPECT_EQ(left.right, bottom.left);
  EXPECT_EQ(bottom.right, right.left);
  EXPECT_EQ(right.right, w);
  EXPECT_EQ(bottom.bottom, h);
}
