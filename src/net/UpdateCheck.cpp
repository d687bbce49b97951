#include "net/UpdateCheck.h"

#include <cctype>

#include "net/Request.h"

namespace net {

namespace {
// The limits of one small fetch: Request's defaults bound the body (64 KB)
// and the whole call (15 s); the waits are shorter here.
HttpLimits TextLimits(const StopFlag* stop) {
  HttpLimits limits;
  limits.connect = Millis{5000};
  limits.idle = Millis{5000};
  limits.stop = stop;
  return limits;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

TextAnswer FetchText(Services& services, const std::string& url, const StopFlag* stop) {
  RequestResult result;
  if (Request::SendHTTP(services, TextLimits(stop), url, nullptr, nullptr, 0, result) != 0)
    return {};
  return TextAnswer{true, result.status, std::move(result.body)};
}

std::optional<std::string> ShortLine(const TextAnswer& answer, size_t maxLength) {
  if (!answer.ok || answer.status != 200) return std::nullopt;
  size_t begin = 0, end = answer.body.size();
  while (begin < end && IsBlank(answer.body[begin])) ++begin;
  while (end > begin && IsBlank(answer.body[end - 1])) --end;
  if (begin == end || end - begin > maxLength) return std::nullopt;
  for (size_t i = begin; i < end; ++i) {
    unsigned char c = static_cast<unsigned char>(answer.body[i]);
    if (c < 0x20 || c > 0x7E || c == '<' || c == '>') return std::nullopt;
  }
  return answer.body.substr(begin, end - begin);
}

}  // namespace net

namespace update {

bool IsVersionText(const std::string& text) {
  if (text.empty() || text.size() > kMaxVersionLength) return false;
  // Numbers joined by single dots: "3", "3.1", "10.0.2".
  size_t i = 0;
  for (;;) {
    size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    if (digits == 0) return false;
    if (i < text.size() && text[i] == '.') {
      ++i;
      continue;
    }
    break;
  }
  // Then at most a short tag of letters and digits: "3.1b", "3.1-rc2".
  if (i < text.size() && text[i] == '-') ++i;
  const size_t tag = text.size() - i;
  if (i > 0 && text[i - 1] == '-' && tag == 0) return false;
  if (tag > kMaxVersionTag) return false;
  for (; i < text.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

Decision Decide(const net::TextAnswer& answer, const std::string& current) {
  std::optional<std::string> version = net::ShortLine(answer, kMaxVersionLength);
  if (!version || !IsVersionText(*version)) return {};
  if (*version == current) return Decision{Outcome::kSame, {}};
  return Decision{Outcome::kNewer, *version};
}

std::string NewVersionLine(const std::string& version) { return "有新版本 V" + version + " 啦"; }

std::string NotesText() {
  return "Mirven电脑助手V3.0新版介绍：\r\n\r\n"
         "1.Mirven电脑助手 3.0版本全新发布，新功能新体验。\r\n"
         "2.全新UI视觉体验，更新，更美，更高效。\r\n"
         "3.新增电脑优化加速功能，时刻监控内存使用情况，时刻为您加速清理。\r\n"
         "4.新增电脑体检功能，对电脑硬件和软件信息进行全面的检查。\r\n"
         "5.新增工具助手功能：包括Mirven计算器和Mirven时钟等实用工具。\r\n"
         "6.改进内存显示不完整以及电脑体检和电脑清理同时进行导致卡顿等问题。\r\n"
         "7.重构和优化部分代码，提高程序的稳定性和运行效率。\r\n";
}

}  // namespace update
