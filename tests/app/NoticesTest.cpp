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

TEST(Notices, AnythingButTwoRealDaysIsNoNotice) {
  // The label must stay hidden for every one of these, on any day.
  for (const char* body :
       {"2014", "soon-later", "201412xx-2014abcd", "abcdefgh-99999999", "x0260101-20260131",
        "2026010-20260131", "20261399-20261231", "20260101-20260230", "20250229-20251231",
        "00000101-20260101", "20260101-2026013x"}) {
    notices::Dates d = notices::ParseDates(Ok(body));
    EXPECT_FALSE(d.fetched) << body;
    EXPECT_FALSE(notices::PromotionVisible(d, 20260115)) << body;
  }
  EXPECT_TRUE(notices::ParseDates(Ok("20240229-20240301")).fetched) << "a leap day";
  // Not a notice at all: no answer, another status, a page, several lines.
  for (const net::TextAnswer& a :
       {net::TextAnswer{}, Ok("20141201-20141231", 404), Ok("<html>20141201-20141231</html>"),
        Ok("20141201\n20141231"), Ok(""), Ok(std::string(65, '2'))})
    EXPECT_FALSE(notices::ParseDates(a).fetched) << a.body;
}

}  // namespace
