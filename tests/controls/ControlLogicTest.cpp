// The portable rules of the page controls: progress bar geometry, caption
// sizing, the tree's path rules and name sorting, and the list box extent.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "base/Paths.h"
#include "controls/ButtonCaption.h"
#include "controls/HSExtent.h"
#include "controls/ProgressGeometry.h"
#include "controls/SortStringArray.h"

namespace {

TEST(ProgressGeometry, BarFillsItsShareLessOnePixelInsideAOnePixelTrough) {
  geom::Rect half = progress::BarRect(201, 20, 0, 100, 50);
  EXPECT_EQ(half.left, 1);
  EXPECT_EQ(half.top, 1);
  EXPECT_EQ(half.right, 99);  // 50 x 2.01 = 100.5 -> 100, less one
  EXPECT_EQ(half.bottom, 19);
  // At the upper bound the bar stops one pixel short of the right edge.
  EXPECT_EQ(progress::BarRect(201, 20, 0, 100, 100).right, 200);
  EXPECT_EQ(progress::BarRect(700, 20, 0, 3, 1).right, 232);
  EXPECT_FALSE(progress::IsEmpty(half));
}

TEST(ProgressGeometry, NothingToFillDrawsOnlyTheTrough) {
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 20, 0, 100, 0)));
  // Empty and reversed ranges have no finite scale.
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 20, 0, 0, 0)));
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 20, 7, 7, 7)));
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 20, 100, 0, 50)));
  // Too small to hold a bar inside the trough margin.
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 2, 0, 100, 100)));
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(0, 20, 0, 100, 100)));
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 20, 0, 100, -5)));
  // One unit of a long range on a short bar.
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(100, 20, 0, 1000, 10)));
}

TEST(ProgressGeometry, PositionsOutsideTheRangeAndRangesNotFromZero) {
  EXPECT_EQ(progress::BarRect(201, 20, 0, 100, 1000).right, 200);
  EXPECT_EQ(progress::BarRect(201, 20, 100, 200, 150).right, 99);
  EXPECT_TRUE(progress::IsEmpty(progress::BarRect(201, 20, 100, 200, 100)));
  // The whole 32-bit range neither overflows nor loses the middle.
  const std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  const std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(progress::BarRect(1000, 20, lo, hi, hi).right, 999);
  EXPECT_EQ(progress::BarRect(1000, 20, lo, hi, 0).right, 499);
  // MB of a drive of more than 4 TB.
  EXPECT_EQ(progress::BarRect(400, 20, 0, 6'000'000, 3'000'000).right, 199);
}

TEST(ButtonCaption, FontHeightByCaption) {
  EXPECT_EQ(button::CaptionFontHeight("立即扫描"), 28);
  for (const char* large : {"重新扫描", "开始体检", "停止体检", "立即加速"})
    EXPECT_EQ(button::CaptionFontHeight(large), 28) << large;
  EXPECT_EQ(button::CaptionFontHeight("开始"), 20);
  EXPECT_EQ(button::CaptionFontHeight("立即扫描 "), 20);  // exact comparison
  EXPECT_EQ(button::CaptionFontHeight(""), 20);
  EXPECT_EQ(button::CaptionFontHeight("45%"), 40);
  EXPECT_EQ(button::CaptionFontHeight("%"), 40);
  EXPECT_EQ(button::CaptionFontHeight("45% "), 20);
}

TEST(ButtonCaption, PercentSitsThreeSeventhsAcrossOthersCentred) {
  geom::Point centred = button::CaptionOrigin(210, 95, 111, 28, false);
  EXPECT_EQ(centred.x, 49);
  EXPECT_EQ(centred.y, 33);
  geom::Point percent = button::CaptionOrigin(150, 150, 80, 40, true);
  EXPECT_EQ(percent.x, 30);  // 70 x 3 / 7
  EXPECT_EQ(percent.y, 55);
  // A caption wider than its button starts left of it, truncated toward 0.
  geom::Point wide = button::CaptionOrigin(88, 25, 101, 28, false);
  EXPECT_EQ(wide.x, -6);
  EXPECT_EQ(wide.y, -1);
}

TEST(TreePaths, LeafNameAndItemPaths) {
  EXPECT_EQ(base::LeafName("C:\\Windows\\System32"), "System32");
  EXPECT_EQ(base::LeafName("C:\\Windows\\System32\\"), "System32");
  EXPECT_EQ(base::LeafName("C:\\"), "C:");
  EXPECT_EQ(base::LeafName("C:"), "C:");
  EXPECT_EQ(base::LeafName("名字ü€ДП한"), "名字ü€ДП한");
  EXPECT_EQ(base::LeafName("C:\\a\\\\"), "");  // only one trailing "\" is dropped
  EXPECT_EQ(base::JoinItemPath({"C:", "Windows", "System32"}), "C:\\Windows\\System32");
  EXPECT_EQ(base::JoinItemPath({"C:"}), "C:");
  EXPECT_EQ(base::JoinItemPath({}), "");
  EXPECT_EQ(base::JoinItemPath({"Z:", "tmp", "ü€ДП한"}), "Z:\\tmp\\ü€ДП한");
}

TEST(TreePaths, ExtendedFormReachesPathsOfAnyLength) {
  EXPECT_EQ(base::ExtendedPath("C:\\Windows"), "\\\\?\\C:\\Windows");
  EXPECT_EQ(base::ExtendedPath("C:"), "\\\\?\\C:\\");
  EXPECT_EQ(base::ExtendedPath("\\\\server\\share\\x"), "\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(base::ExtendedPath("\\\\?\\C:\\x"), "\\\\?\\C:\\x");
  EXPECT_EQ(base::ExtendedPath("relative\\x"), "relative\\x");
  EXPECT_EQ(base::ListPattern("C:"), "\\\\?\\C:\\*");
  EXPECT_EQ(base::ListPattern("C:\\"), "\\\\?\\C:\\*");
  EXPECT_EQ(base::ListPattern("Z:\\tmp\\a"), "\\\\?\\Z:\\tmp\\a\\*");
  EXPECT_EQ(base::WithSeparator("C:\\a"), "C:\\a\\");
  EXPECT_EQ(base::WithSeparator("C:\\a\\"), "C:\\a\\");
}

TEST(SortStringArray, SortsWithoutRegardToCaseAndKeepsTies) {
  CSorStringArray a;
  for (const char* s : {"b", "A", "c", "B", "a", "_x", "10", "9"}) a.Add(s);
  a.SortNoCase();
  // Letters compare as lower case, so "_" comes before them.
  std::vector<std::string> want = {"10", "9", "_x", "A", "a", "b", "B", "c"};
  EXPECT_EQ(a.Items(), want);

  CSorStringArray none, one;
  none.SortNoCase();
  one.Add("x");
  one.SortNoCase();
  EXPECT_EQ(none.GetSize(), 0u);
  EXPECT_EQ(one[0], "x");

  // The comparison is the caller's: here, longest first.
  CSorStringArray byLength(
      [](const std::string& x, const std::string& y) { return int(y.size()) - int(x.size()); });
  for (const char* s : {"aa", "b", "cccc"}) byLength.Add(s);
  byLength.SortNoCase();
  EXPECT_EQ(byLength.Items(), (std::vector<std::string>{"cccc", "aa", "b"}));
}

TEST(HSExtent, WidestLineSoFarPlusFive) {
  hslist::ExtentTracker t;
  EXPECT_EQ(t.Extent(0), 0);
  t.Added(300);
  t.Added(120);
  EXPECT_EQ(t.Extent(2), 305);
  EXPECT_FALSE(t.NeedsRemeasure(120));
  EXPECT_TRUE(t.NeedsRemeasure(300));
  EXPECT_EQ(t.Extent(0), 0);  // an emptied list scrolls nowhere
  t.Reset();
  t.Added(0);
  EXPECT_EQ(t.Extent(1), 5);
}

}  // namespace
