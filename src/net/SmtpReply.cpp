#include "net/SmtpReply.h"

#include <cctype>

namespace net {

namespace {

constexpr size_t kMaxReplyBytes = 1 << 20;
constexpr size_t kSendChunk = 64 * 1024;

int CodeOf(const std::string& line) {
  int code = 0;
  for (size_t i = 0; i < 3; ++i) {
    if (i >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i]))) return -1;
    code = code * 10 + (line[i] - '0');
  }
  return code;
}

}  // namespace

ReplyStatus ReplyReader::Read(Stream& stream, Millis limit, int& code, std::string& text) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + limit;
  text.clear();
  size_t scanned = 0;
  char buffer[4096];
  for (;;) {
    size_t lf = pending_.find('\n', scanned);
    if (lf != std::string::npos) {
      std::string line = pending_.substr(0, lf + 1);
      pending_.erase(0, lf + 1);
      scanned = 0;
      text += line;
      if (line.size() < 4 || line[3] != '-') {
        code = CodeOf(line);
        return ReplyStatus::kOk;
      }
      continue;
    }
    scanned = pending_.size();
    if (text.size() + pending_.size() > kMaxReplyBytes) return ReplyStatus::kFailed;
    auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now());
    if (left.count() <= 0) return ReplyStatus::kFailed;
    IoResult got = stream.Receive(buffer, sizeof buffer, left);
    if (got.status == IoStatus::kClosed) return ReplyStatus::kClosed;
    if (got.status != IoStatus::kOk) return ReplyStatus::kFailed;
    pending_.append(buffer, got.bytes);
  }
}

bool OffersExtension(const std::string& ehloReply, const std::string& keyword) {
  size_t start = 0;
  while (start < ehloReply.size()) {
    size_t end = ehloReply.find('\n', start);
    if (end == std::string::npos) end = ehloReply.size();
    // "250-KEYWORD params" or "250 KEYWORD"; the first line is the greeting.
    if (start > 0 && end - start >= 4 + keyword.size()) {
      size_t i = start + 4, k = 0;
      while (k < keyword.size() &&
             std::toupper(static_cast<unsigned char>(ehloReply[i + k])) == keyword[k])
        ++k;
      char after = i + k < end ? ehloReply[i + k] : '\n';
      if (k == keyword.size() && (after == ' ' || after == '\r' || after == '\n')) return true;
    }
    start = end + 1;
  }
  return false;
}

bool DataWriter::Write(const char* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    char c = data[i];
    if (atLineStart_ && c == '.') buffer_ += '.';
    buffer_ += c;
    atLineStart_ = c == '\n';
  }
  return buffer_.size() < kSendChunk || Flush();
}

bool DataWriter::Flush() {
  bool ok =
      buffer_.empty() || stream_.SendAll(buffer_.data(), buffer_.size(), limit_) == IoStatus::kOk;
  buffer_.clear();
  return ok;
}

bool DataWriter::Finish() {
  buffer_ += "\r\n.\r\n";
  return Flush();
}

}  // namespace net
