#include "app/Notices.h"

#include <cctype>

namespace notices {

namespace {
constexpr size_t kMaxNoticeLength = 64;
constexpr size_t kDateLength = 8;

// Leading decimal digits, 0 when there are none.
long LeadingNumber(const std::string& text) {
  long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    value = value * 10 + (c - '0');
  }
  return value;
}
}  // namespace

Dates ParseDates(const net::TextAnswer& answer) {
  std::optional<std::string> line = net::ShortLine(answer, kMaxNoticeLength);
  if (!line) return {};
  const std::string& text = *line;
  std::string first = text.substr(0, kDateLength);
  std::string last = text.size() < kDateLength ? text : text.substr(text.size() - kDateLength);
  return Dates{true, LeadingNumber(first), LeadingNumber(last)};
}

}  // namespace notices
