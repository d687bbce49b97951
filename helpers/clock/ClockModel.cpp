#include "clock/ClockModel.h"

#include <cmath>
#include <cstdio>

namespace clockface {

std::string TimeText(const Moment& m) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", m.hour % 100, m.minute % 100, m.second % 100);
  return buf;
}

int Weekday(int year, int month, int day) {
  // Sakamoto's method on the Gregorian calendar.
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
}

std::string DateText(const Moment& m) {
  static const char* const names[] = {"日", "一", "二", "三", "四", "五", "六"};
  return std::to_string(m.year) + "年" + std::to_string(m.month) + "月" + std::to_string(m.day) +
         "日 星期" + names[Weekday(m.year, m.month, m.day)];
}

Hands HandAngles(const Moment& m) {
  double minutes = m.minute + m.second / 60.0;
  return Hands{(m.hour % 12) * 30 + minutes / 2, minutes * 6, m.second * 6.0};
}

Point PointAt(int cx, int cy, double degrees, double length) {
  const double radians = degrees * 3.14159265358979323846 / 180;
  return Point{cx + static_cast<int>(std::lround(length * std::sin(radians))),
               cy - static_cast<int>(std::lround(length * std::cos(radians)))};
}

}  // namespace clockface
