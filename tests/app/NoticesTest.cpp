#include "app/Notices.h"

#include <gtest/gtest.h>

namespace {

net::TextAnswer Ok(const std::string& body, int status = 200) { return {true, status, body}; }

TEST(Notices, DatesFromFirstAndLastEightCharacters) {
  notices::Dates d = notices::ParseDates(Ok("20141201-20141231"));
  EXPECT_TRUE(d.fetched);
  EXPECT_EQ(20141201, d.start);
  EXPECT_EQ(20141231, d.end);
  // The CR LF a text editor leaves at the end is not part of the last date.
  d = notices::ParseDates(Ok("20141201 20141231\r\n"));
  EXPECT_EQ(20141231, d.end);
  EXPECT_TRUE(notices::PromotionVisible(d, notices::DateNumber(2014, 12, 31)));
}

TEST(Notices, ShownFromFirstToLastDayOnly) {
  notices::Dates d{true, 20141201, 20141231};
  EXPECT_TRUE(notices::PromotionVisible(d, notices::DateNumber(2014, 12, 15)));
  EXPECT_TRUE(notices::PromotionVisible(d, 20141201));
  EXPECT_TRUE(notices::PromotionVisible(d, 20141231));
  EXPECT_FALSE(notices::PromotionVisible(d, 20141130));
  EXPECT_FALSE(notices::PromotionVisible(d, notices::DateNumber(2015, 1, 1)));
  d.fetched = false;
  EXPECT_FALSE(notices::PromotionVisible(d, 20141215));
}

TEST(Notices, OddBodiesGiveNoOrZeroDates) {
  // Short and non-digit bodies: the leading digits count, none gives 0.
  notices::Dates d = notices::ParseDates(Ok("2014"));
  EXPECT_TRUE(d.fetched);
  EXPECT_EQ(2014, d.start);
  EXPECT_EQ(2014, d.end);
  d = notices::ParseDates(Ok("soon-later"));
  EXPECT_EQ(0, d.start);
  EXPECT_EQ(0, d.end);
  EXPECT_FALSE(notices::PromotionVisible(d, 20141215));
  d = notices::ParseDates(Ok("201412xx-2014abcd"));
  EXPECT_EQ(201412, d.start);
  EXPECT_EQ(2014, d.end);
  // Not a notice at all: no answer, another status, a page, several lines.
  for (const net::TextAnswer& a :
       {net::TextAnswer{}, Ok("20141201-20141231", 404), Ok("<html>20141201-20141231</html>"),
        Ok("20141201\n20141231"), Ok(""), Ok(std::string(65, '2'))})
    EXPECT_FALSE(notices::ParseDates(a).fetched) << a.body;
}

}  // namespace
