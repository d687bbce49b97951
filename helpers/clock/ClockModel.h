#pragma once
// What the clock shows for a moment of local time: the digital time, the
// date with its weekday, and where the three hands of the face point.
#include <string>

namespace clockface {

struct Moment {
  int year, month, day;      // month 1-12
  int hour, minute, second;  // 0-23, 0-59, 0-59
};

// "09:05:03"
std::string TimeText(const Moment& m);
// "2026年12月7日 星期一"
std::string DateText(const Moment& m);
// 0 for Sunday to 6 for Saturday, from the date alone.
int Weekday(int year, int month, int day);

// Hand angles in degrees, clockwise from 12 o'clock. The hour and minute
// hands move on continuously; the second hand jumps.
struct Hands {
  double hour, minute, second;
};
Hands HandAngles(const Moment& m);

// The point `length` away from (cx, cy) at `degrees` clockwise from 12
// o'clock, in window coordinates (y downwards), rounded.
struct Point {
  int x, y;
};
Point PointAt(int cx, int cy, double degrees, double length);

}  // namespace clockface
