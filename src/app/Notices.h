#pragma once
// The promotion notice under the main window: the dates fetched from the
// maker's server decide whether label 1037 shows. Portable.
#include <string>

#include "net/UpdateCheck.h"

namespace notices {

constexpr char kNoticePath[] = "/windows/ads_time.txt";
constexpr char kStatisticsPath[] = "/android/statics.aspx";
constexpr char kSitePath[] = "/";
// The promotion page lives on an outside statistics service.
constexpr char kPromotionUrl[] = "http://www.velmora-tongji.com/?formType=7531";

struct Dates {
  bool fetched = false;
  long start = 0;  // YYYYMMDD
  long end = 0;
};

// The first eight characters of the file are the first day, the last eight
// the last day; white space around the line is trimmed first. Anything but
// a 200 answer with one short line whose both ends are real days written as
// eight digits is no notice.
Dates ParseDates(const net::TextAnswer& answer);

// YYYYMMDD as a number.
constexpr long DateNumber(int year, int month, int day) {
  return static_cast<long>(year) * 10000 + month * 100 + day;
}

// Shown from the first to the last day, both included.
constexpr bool PromotionVisible(const Dates& dates, long today) {
  return dates.fetched && dates.start <= today && today <= dates.end;
}

}  // namespace notices
