#include "tools/TimeOfDay.h"

namespace tools {

std::optional<int> ParseClockField(std::string_view text, int max) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > max) return std::nullopt;
  }
  return value;
}

TimeInput ReadTimeOfDay(std::string_view hour, std::string_view minute,
                        std::optional<std::string_view> second) {
  TimeInput in;
  auto h = ParseClockField(hour, 23);
  auto m = ParseClockField(minute, 59);
  auto s = second ? ParseClockField(*second, 59) : std::optional<int>(0);
  if (!h)
    in.error = "小时请输入0到23之间的整数。";
  else if (!m)
    in.error = "分钟请输入0到59之间的整数。";
  else if (!s)
    in.error = "秒请输入0到59之间的整数。";
  else {
    in.hour = *h;
    in.minute = *m;
    in.second = *s;
  }
  return in;
}

void MinuteTrigger::Set(int hour, int minute) {
  armed_ = true;
  hour_ = hour;
  minute_ = minute;
  firedAt_ = -1;
}

bool MinuteTrigger::Tick(const ClockTime& now) {
  if (!armed_ || now.hour != hour_ || now.minute != minute_) return false;
  long long stamp = ((static_cast<long long>(now.year) * 13 + now.month) * 32 + now.day) * 1440 +
                    now.hour * 60 + now.minute;
  if (stamp == firedAt_) return false;
  firedAt_ = stamp;
  return true;
}

std::string ShutdownPlan::Set(std::string_view hour, std::string_view minute) {
  TimeInput in = ReadTimeOfDay(hour, minute);
  if (in.error.empty()) trigger_.Set(in.hour, in.minute);
  return in.error;
}

}  // namespace tools
