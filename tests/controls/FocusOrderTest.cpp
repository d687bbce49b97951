// The keyboard's way through painted targets: reading order and the arrow
// keys within a group, on the shopping page's real card table.
#include <gtest/gtest.h>

#include <vector>

#include "controls/FocusOrder.h"
#include "tools/TilePages.h"

namespace {

using focus::Arrow;

std::vector<focus::Stop> ShoppingStops() {
  std::vector<focus::Stop> stops;
  // Listed backwards, so that the order has to come from the places.
  for (int i = static_cast<int>(tools::kShoppingTileCount) - 1; i >= 0; --i) {
    const auto& t = tools::kShoppingTiles[i];
    stops.push_back(focus::Stop{t.rect, t.rect.top >= 200 ? 1 : 0, true});
  }
  return stops;
}

int IndexOfCode(int code) {
  for (std::size_t i = 0; i < tools::kShoppingTileCount; ++i)
    if (tools::kShoppingTiles[i].code == code)
      return static_cast<int>(tools::kShoppingTileCount - 1 - i);
  return -1;
}

TEST(FocusOrder, ReadingOrderIsRowsTopToBottomEachLeftToRight) {
  auto stops = ShoppingStops();
  std::vector<int> codes;
  for (int i : focus::ReadingOrder(stops.data(), stops.size()))
    codes.push_back(tools::kShoppingTiles[tools::kShoppingTileCount - 1 - i].code);
  EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 101, 102, 103, 104, 105, 106, 107,
                                     108}));
}

TEST(FocusOrder, LeftAndRightWrapWithinTheGroupAndPassOverDisabled) {
  auto stops = ShoppingStops();
  auto move = [&](int code, Arrow a) {
    int to = focus::Move(stops.data(), stops.size(), IndexOfCode(code), a);
    return tools::kShoppingTiles[tools::kShoppingTileCount - 1 - to].code;
  };
  EXPECT_EQ(move(7, Arrow::Right), 8);  // on into the next row
  EXPECT_EQ(move(9, Arrow::Right), 1);  // wraps, never into the other group
  EXPECT_EQ(move(1, Arrow::Left), 9);
  EXPECT_EQ(move(101, Arrow::Left), 108);
  stops[static_cast<std::size_t>(IndexOfCode(2))].enabled = false;
  EXPECT_EQ(move(1, Arrow::Right), 3);
  EXPECT_EQ(move(3, Arrow::Left), 1);
}

TEST(FocusOrder, UpAndDownGoToTheNearestTargetOfTheNextRow) {
  auto stops = ShoppingStops();
  auto move = [&](int code, Arrow a) {
    int to = focus::Move(stops.data(), stops.size(), IndexOfCode(code), a);
    return tools::kShoppingTiles[tools::kShoppingTileCount - 1 - to].code;
  };
  EXPECT_EQ(move(2, Arrow::Down), 9);    // the card below
  EXPECT_EQ(move(6, Arrow::Down), 9);    // the nearest of a shorter row
  EXPECT_EQ(move(8, Arrow::Down), 1);    // wraps to the group's first row
  EXPECT_EQ(move(1, Arrow::Up), 8);
  EXPECT_EQ(move(107, Arrow::Down), 108);
  stops[static_cast<std::size_t>(IndexOfCode(8))].enabled = false;
  stops[static_cast<std::size_t>(IndexOfCode(9))].enabled = false;
  // A row with nothing enabled is passed over.
  EXPECT_EQ(move(3, Arrow::Down), 3);
}

TEST(FocusOrder, AOneRowGroupStepsWithUpAndDownAndAnAloneTargetStays) {
  std::vector<focus::Stop> header = {
      {geom::Rect::At(698, 0, 26, 26), 0, true},  {geom::Rect::At(724, 0, 26, 26), 0, true},
      {geom::Rect::At(750, 0, 26, 26), 0, false}, {geom::Rect::At(20, 26, 74, 74), 1, true},
      {geom::Rect::At(114, 26, 74, 74), 1, true},
  };
  EXPECT_EQ(focus::Move(header.data(), header.size(), 3, Arrow::Down), 4);
  EXPECT_EQ(focus::Move(header.data(), header.size(), 3, Arrow::Up), 4);
  EXPECT_EQ(focus::Move(header.data(), header.size(), 1, Arrow::Right), 0);  // past the disabled
  header[1].enabled = false;
  EXPECT_EQ(focus::Move(header.data(), header.size(), 0, Arrow::Left), 0);
  EXPECT_EQ(focus::Move(header.data(), header.size(), -1, Arrow::Left), -1);
}

}  // namespace
