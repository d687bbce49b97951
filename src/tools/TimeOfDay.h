#pragma once
// Times of day the user types into the timed shutdown and the alarm, and
// the rule both apply once a second: act at the first tick inside the set
// minute, and only once in that minute.
#include <optional>
#include <string>
#include <string_view>

namespace tools {

// A local time as one tick sees it.
struct ClockTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
};

// A whole number typed into a time field (blanks around it allowed) within
// 0..max, or nothing.
std::optional<int> ParseClockField(std::string_view text, int max);

struct TimeInput {
  int hour = 0, minute = 0, second = 0;
  std::string error;  // the message for the user; empty when the time is good
};
// Reads hour and minute, and the second when one is given.
TimeInput ReadTimeOfDay(std::string_view hour, std::string_view minute,
                        std::optional<std::string_view> second = std::nullopt);

// Fires at the first tick within hh:mm, and not again in that same minute
// of that same day; a day later it fires again. Never before Set.
class MinuteTrigger {
 public:
  void Set(int hour, int minute);
  void Clear() { armed_ = false; }
  bool armed() const { return armed_; }
  // True when it fires at this tick.
  bool Tick(const ClockTime& now);

 private:
  bool armed_ = false;
  int hour_ = 0, minute_ = 0;
  long long firedAt_ = -1;  // the day and minute of the last firing
};

// The timed shutdown: a time taken from the edits, then one question a day
// when the clock reaches it.
class ShutdownPlan {
 public:
  // Takes the typed time; returns the message to show when it is not a
  // time of day (the plan then keeps what it had).
  std::string Set(std::string_view hour, std::string_view minute);
  bool IsSet() const { return trigger_.armed(); }
  // True when the question is to be asked at this tick.
  bool Tick(const ClockTime& now) { return trigger_.Tick(now); }

 private:
  MinuteTrigger trigger_;
};

}  // namespace tools
