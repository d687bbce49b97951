// The tools' portable rules: tax, tile hit tests, typed times and the
// once-a-minute rule over a simulated clock, the defragmenter's command.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/DefragCommand.h"
#include "tools/IncomeTax.h"
#include "tools/TilePages.h"
#include "tools/TimeOfDay.h"

using namespace tools;

namespace {
std::string Shown(double v) {  // as the tool's edits show a value
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}
}  // namespace

TEST(IncomeTax, WholeTableOfCasesAsShown) {
  struct Case {
    double gross;
    const char* tax;
    const char* net;
  } cases[] = {
      {3500, "0", "3500"},        {3500.99, "0", "3500.99"}, {3501, "0.03", "3500.97"},
      {5000, "45", "4955"},       {5000.5, "45", "4955.5"},  {8000, "345", "7655"},
      {12500, "1245", "11255"},   {83500, "22495", "61005"}, {83501, "22495.45", "61005.55"},
      {100000, "29920", "70080"}, {-100, "0", "-100"},       {3499.5, "0", "3499.5"},
  };
  for (const Case& c : cases) {
    IncomeTax::Result r = IncomeTax::Compute(c.gross);
    EXPECT_EQ(Shown(r.tax), c.tax) << c.gross;
    EXPECT_EQ(Shown(r.net), c.net) << c.gross;
  }
}

TEST(IncomeTax, BoundsBelongToTheLowerBracket) {
  // t = 1500 at 3 %, t = 1501 at 10 % less 105; the same at every bound.
  EXPECT_DOUBLE_EQ(IncomeTax::Compute(3500 + 1500).tax, 45);
  EXPECT_DOUBLE_EQ(IncomeTax::Compute(3500 + 1501).tax, 1501 * 0.10 - 105);
  EXPECT_DOUBLE_EQ(IncomeTax::Compute(3500 + 80000).tax, 80000 * 0.35 - 5505);
  EXPECT_DOUBLE_EQ(IncomeTax::Compute(3500 + 80001).tax, 80001 * 0.45 - 13505);
  // The brackets join up: one yuan more never costs less tax.
  for (const TaxBracket& b : IncomeTax::kBrackets)
    if (b.upTo > 0) {
      EXPECT_LE(IncomeTax::Compute(3500 + b.upTo).tax, IncomeTax::Compute(3501 + b.upTo).tax);
    }
  // Huge wages stay arithmetic, not an overflowed integer.
  EXPECT_DOUBLE_EQ(IncomeTax::Compute(1e12).tax, (1e12 - 3500) * 0.45 - 13505);
}

TEST(TileHitTests, EdgesOnBothPages) {
  tiles::TileHover toolkit(kToolkitTiles, kToolkitTileCount);
  EXPECT_EQ(toolkit.CodeAt({20, 30}), kToolShutdown);
  EXPECT_EQ(toolkit.CodeAt({83, 93}), kToolShutdown);
  EXPECT_EQ(toolkit.CodeAt({84, 50}), 0);  // right edge is outside
  EXPECT_EQ(toolkit.CodeAt({50, 94}), 0);  // bottom edge too
  EXPECT_EQ(toolkit.CodeAt({94, 30}), kToolAlarm);
  EXPECT_EQ(toolkit.CodeAt({231, 60}), kToolDefrag);
  EXPECT_EQ(toolkit.CodeAt({20, 230}), kToolTax);
  EXPECT_EQ(toolkit.CodeAt({158, 230}), 0);  // gap between 5 and 6
  EXPECT_EQ(toolkit.CodeAt({305, 293}), kToolClock);
  EXPECT_EQ(toolkit.CodeAt({306, 293}), 0);

  tiles::TileHover shop(kShoppingTiles, kShoppingTileCount);
  EXPECT_EQ(shop.CodeAt({110, 40}), 0);
  EXPECT_EQ(shop.CodeAt({109, 99}), 1);
  EXPECT_EQ(shop.CodeAt({769, 99}), 7);
  EXPECT_EQ(shop.CodeAt({130, 179}), 9);
  EXPECT_EQ(shop.CodeAt({20, 369}), 108);
  EXPECT_EQ(shop.CodeAt({20, 370}), 0);
  EXPECT_EQ(kShoppingTiles[14].hoverBitmap, 263);   // tile 106
  EXPECT_EQ(kShoppingTiles[15].normalBitmap, 264);  // tile 107
  // Every tile has a distinct https home page.
  for (const tiles::Tile& t : kShoppingTiles) {
    std::string a = ShoppingAddress(t.code);
    EXPECT_EQ(a.rfind("https://", 0), 0u) << a;
    for (const tiles::Tile& u : kShoppingTiles)
      if (u.code != t.code) {
        EXPECT_NE(a, ShoppingAddress(u.code));
      }
  }
  EXPECT_EQ(ShoppingAddress(0), nullptr);
}

TEST(TileHitTests, HoverRestoresThePreviousTileAndLeavingRestoresAll) {
  tiles::TileHover hover(kShoppingTiles, kShoppingTileCount);
  auto r = hover.Move({25, 45});
  EXPECT_EQ(r.restore, -1);
  EXPECT_EQ(r.light, 0);
  r = hover.Move({26, 46});  // same tile: nothing to redraw
  EXPECT_EQ(r.restore, -1);
  EXPECT_EQ(r.light, -1);
  r = hover.Move({135, 45});  // straight onto the next tile
  EXPECT_EQ(r.restore, 0);
  EXPECT_EQ(r.light, 1);
  r = hover.Leave();
  EXPECT_EQ(r.restore, 1);
  EXPECT_EQ(r.light, -1);
  EXPECT_EQ(hover.hovered(), -1);
  r = hover.Move({115, 45});  // gap
  EXPECT_EQ(r.restore, -1);
  EXPECT_EQ(r.light, -1);
}

TEST(TimeOfDay, FieldsAreWholeNumbersInRange) {
  EXPECT_EQ(ParseClockField("00", 23), 0);
  EXPECT_EQ(ParseClockField(" 23 ", 23), 23);
  EXPECT_EQ(ParseClockField("007", 59), 7);
  for (const char* bad : {"24", "", " ", "-1", "1.5", "7a", "+3", "99999999999999999999"})
    EXPECT_FALSE(ParseClockField(bad, 23).has_value()) << bad;
  EXPECT_EQ(ReadTimeOfDay("23", "30").error, "");
  EXPECT_EQ(ReadTimeOfDay("25", "30").error, "小时请输入0到23之间的整数。");
  EXPECT_EQ(ReadTimeOfDay("23", "75").error, "分钟请输入0到59之间的整数。");
  EXPECT_EQ(ReadTimeOfDay("7", "30", "x").error, "秒请输入0到59之间的整数。");
  TimeInput in = ReadTimeOfDay("7", "30", "45");
  EXPECT_EQ(in.hour * 10000 + in.minute * 100 + in.second, 73045);
}

TEST(TimeOfDay, ShutdownAsksOncePerMinuteAndNeverBeforeItIsSet) {
  ShutdownPlan plan;
  ClockTime t{2026, 12, 7, 0, 0, 0};
  EXPECT_FALSE(plan.Tick(t));  // midnight, nothing set: no question
  EXPECT_EQ(plan.Set("abc", "30"), "小时请输入0到23之间的整数。");
  EXPECT_FALSE(plan.IsSet());
  EXPECT_EQ(plan.Set("23", "30"), "");
  int asked = 0;
  for (int s = 0; s < 3600; ++s) {  // 23:00:00 .. 23:59:59, a tick a second
    t = ClockTime{2026, 12, 7, 23, s / 60, s % 60};
    if (plan.Tick(t)) {
      ++asked;
      EXPECT_EQ(t.minute, 30);
      EXPECT_EQ(t.second, 0);
    }
  }
  EXPECT_EQ(asked, 1);  // "否" at 23:30:00 is not asked again at 23:30:01
  EXPECT_TRUE(plan.Tick({2026, 12, 8, 23, 30, 17}));  // the next day
  EXPECT_FALSE(plan.Tick({2026, 12, 8, 23, 30, 18}));
  // A bad entry keeps the set time; a new time asks afresh.
  EXPECT_NE(plan.Set("23", "60"), "");
  EXPECT_FALSE(plan.Tick({2026, 12, 8, 23, 30, 19}));
  EXPECT_EQ(plan.Set("23", "30"), "");
  EXPECT_TRUE(plan.Tick({2026, 12, 8, 23, 30, 20}));
}

TEST(Defrag, DrivesParameterAndProgram) {
  std::string list("A:\\\0C:\\\0D:\\\0\0", 13);
  EXPECT_EQ(SplitDriveList(list), (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
  std::string many;
  for (char c = 'A'; c <= 'Z'; ++c) many += std::string{c, ':', '\\', '\0'};
  EXPECT_EQ(SplitDriveList(many).size(), 26u);  // no 15-entry limit
  EXPECT_EQ(SplitDriveList("").size(), 0u);
  EXPECT_EQ(DefragDrive("A:\\"), "A:");
  EXPECT_EQ(DefragDrive("d:"), "D:");
  EXPECT_EQ(DefragDrive("C"), "");
  EXPECT_EQ(DefragDrive("&:\\"), "");
  EXPECT_EQ(DefragProgram("C:\\Windows", true), "C:\\Windows\\Sysnative\\defrag.exe");
  EXPECT_EQ(DefragProgram("C:\\Windows\\", false), "C:\\Windows\\System32\\defrag.exe");
}
