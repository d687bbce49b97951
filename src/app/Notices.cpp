#include "app/Notices.h"

#include <cctype>

namespace notices {

namespace {
constexpr size_t kMaxNoticeLength = 64;
constexpr size_t kDateLength = 8;

// YYYYMMDD when `text` is eight digits that form a real day, else 0.
long CalendarDate(const std::string& text) {
  if (text.size() != kDateLength) return 0;
  long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    value = value * 10 + (c - '0');
  }
  const long year = value / 10000, month = value / 100 % 100, day = value % 100;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const long last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= last ? value : 0;
}
}  // namespace

Dates ParseDates(const net::TextAnswer& answer) {
  std::optional<std::string> line = net::ShortLine(answer, kMaxNoticeLength);
  if (!line) return {};
  const std::string& text = *line;
  if (text.size() < kDateLength) return {};
  const long first = CalendarDate(text.substr(0, kDateLength));
  const long last = CalendarDate(text.substr(text.size() - kDateLength));
  if (first == 0 || last == 0) return {};
  return Dates{true, first, last};
}

}  // namespace notices
