#pragma once
#include <string>

#include "net/Stream.h"

namespace net {

enum class ReplyStatus { kOk, kClosed, kFailed };

// Reads whole SMTP replies: every "NNN-" line up to the final "NNN " line,
// however the server splits them into packets.
class ReplyReader {
 public:
  // The code comes from the final line; -1 when it does not start with three digits.
  ReplyStatus Read(Stream& stream, Millis limit, int& code, std::string& text);
  // Bytes that arrived before a switch of stream (STARTTLS) must not be
  // taken for replies of the new one.
  void Discard() { pending_.clear(); }
  bool HasPending() const { return !pending_.empty(); }

 private:
  std::string pending_;
};

// Collects message text, doubles a "." that starts a line and sends in
// large pieces; Finish adds the end-of-data line.
// Whether an EHLO reply lists the extension keyword (upper case), e.g. STARTTLS.
bool OffersExtension(const std::string& ehloReply, const std::string& keyword);

class DataWriter {
 public:
  DataWriter(Stream& stream, Millis limit) : stream_(stream), limit_(limit) {}
  bool Write(const char* data, size_t size);
  bool Finish();

 private:
  bool Flush();
  Stream& stream_;
  Millis limit_;
  std::string buffer_;
  bool atLineStart_ = true;
};

}  // namespace net
