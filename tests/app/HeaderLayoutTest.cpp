#include "app/HeaderLayout.h"

#include <gtest/gtest.h>

using header::CaptionButton;

TEST(HeaderLayout, CaptionButtonsHoldLeftAndTopEdgesOnly) {
  const int w = 781;
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 26, 0}), CaptionButton::Close);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 1, 25}), CaptionButton::Close);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 1, 26}), CaptionButton::None);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 27, 0}), CaptionButton::Minimize);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 52, 10}), CaptionButton::Minimize);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 53, 10}), CaptionButton::Menu);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 78, 10}), CaptionButton::Menu);
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 79, 10}), CaptionButton::None);
  EXPECT_EQ(header::CaptionButtonAt(w, {w, 10}), CaptionButton::None);
  // The pictures sit 5 px left of where they answer: the left 5 px of the
  // drawn close picture belong to the minimise button.
  EXPECT_EQ(header::CaptionButtonAt(w, {w - 31, 10}), CaptionButton::Minimize);
}

TEST(HeaderLayout, PageButtonsAre74SquaresWith20PixelGaps) {
  EXPECT_EQ(header::PageButtonAt({20, 26}), 1);
  EXPECT_EQ(header::PageButtonAt({93, 99}), 1);
  EXPECT_EQ(header::PageButtonAt({94, 50}), 0);  // gap
  EXPECT_EQ(header::PageButtonAt({113, 50}), 0);
  EXPECT_EQ(header::PageButtonAt({114, 50}), 2);
  EXPECT_EQ(header::PageButtonAt({302, 26}), 4);
  EXPECT_EQ(header::PageButtonAt({302, 25}), 0);   // caption bar
  EXPECT_EQ(header::PageButtonAt({302, 100}), 0);  // page area
  EXPECT_EQ(header::PageButtonAt({469, 60}), 5);
  EXPECT_EQ(header::PageButtonAt({470, 60}), 0);
  EXPECT_EQ(header::PageButtonAt({19, 60}), 0);
}

TEST(HeaderLayout, WholeHeaderIsCaption) {
  EXPECT_TRUE(header::InHeader(781, {0, 0}));
  EXPECT_TRUE(header::InHeader(781, {780, 99}));
  EXPECT_FALSE(header::InHeader(781, {10, 100}));
  EXPECT_FALSE(header::InHeader(781, {-1, 10}));
}
