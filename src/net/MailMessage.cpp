#include "net/MailMessage.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "net/Base64.h"

namespace net {

namespace {

constexpr size_t kMaxPlainLine = 998;
// Longest header text sent as it is; longer ones are folded as encoded words.
constexpr size_t kMaxPlainHeaderText = 900;
constexpr size_t kEncodedWordBytes = 45;  // 60 Base64 characters, a 72-character word
constexpr size_t kBodyLineBytes = 57;     // 76 characters per Base64 body line
constexpr size_t kSendChunk = 64 * 1024;

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool NeedsEncoding(std::string_view text) {
  if (text.size() > kMaxPlainHeaderText || text.find("=?") != std::string_view::npos) return true;
  for (unsigned char c : text)
    if (c < 0x20 || c >= 0x7F) return true;
  return false;
}

std::string EncodedWords(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = std::min(text.size(), i + kEncodedWordBytes);
    size_t cut = end;
    while (cut < text.size() && cut > i &&
           IsUtf8Continuation(static_cast<unsigned char>(text[cut])))
      --cut;
    if (cut == i) cut = end;  // not UTF-8: cut anywhere
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?";
    AppendBase64(out, text.data() + i, cut - i);
    out += "?=";
    i = cut;
  }
  return out;
}

bool HasSpecials(std::string_view text) {
  return text.find_first_of("()<>[]:;@\\,.\"") != std::string_view::npos;
}

// Entries "name<address>" joined by ",", folded before a line grows too long.
std::string RecipientList(const std::vector<MailRecipient>& list, size_t used) {
  std::string out;
  size_t lineLength = used;
  for (size_t i = 0; i < list.size(); ++i) {
    std::string entry = EncodeDisplayName(list[i].name) + "<" + list[i].address + ">";
    if (i > 0) {
      out += ",";
      ++lineLength;
      if (lineLength + entry.size() > kMaxPlainHeaderText) {
        out += "\r\n ";
        lineLength = 1;
      }
    }
    out += entry;
    size_t lastBreak = entry.rfind('\n');
    lineLength =
        lastBreak == std::string::npos ? lineLength + entry.size() : entry.size() - lastBreak;
  }
  return out;
}

// A body line equal to the boundary delimiter would end the text part early
// and let the body make up parts of its own.
bool BodyIsPlain(const std::string& body) {
  if (body.find(kBoundary) != std::string::npos) return false;
  size_t line = 0;
  for (unsigned char c : body) {
    if (c == 0 || c >= 0x80) return false;
    if (c == '\n' || c == '\r') {
      line = 0;
    } else if (++line > kMaxPlainLine) {
      return false;
    }
  }
  return true;
}

// Bare CR or LF would end lines differently for different servers.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

// RFC 2231 value: UTF-8 bytes outside the attribute characters as %XX.
std::string PercentEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                 c == '!' || c == '#' || c == '$' || c == '&' || c == '+' || c == '-' || c == '.' ||
                 c == '^' || c == '_' || c == '`' || c == '|' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

bool NameNeedsParameterEncoding(std::string_view name) {
  if (name.size() > 200) return true;
  for (unsigned char c : name)
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') return true;
  return false;
}

class AttachmentStreamer {
 public:
  explicit AttachmentStreamer(TextSink& sink) : sink_(sink) { out_.reserve(kSendChunk + 128); }

  // Base64 lines of 54 input bytes; a size that is a multiple of 54 ends
  // with an empty line. False when the file or the sink failed.
  bool Stream(ByteSource& file, uint64_t size, bool& readFailed) {
    std::vector<char> buffer(kAttachmentLineBytes * 1024);
    uint64_t sent = 0;
    size_t carry = 0;  // bytes of an unfinished line at the front of the buffer
    for (;;) {
      size_t want = buffer.size() - carry;
      if (size - sent < want) want = static_cast<size_t>(size - sent);
      long long got = want == 0 ? 0 : file.Read(buffer.data() + carry, want);
      if (got < 0) {
        readFailed = true;
        return false;
      }
      // A file that shrank since its size was measured would go out cut
      // short: the mail must not be finished then.
      if (got == 0 && sent < size) {
        readFailed = true;
        return false;
      }
      sent += static_cast<uint64_t>(got);
      size_t have = carry + static_cast<size_t>(got);
      bool last = got == 0;
      size_t pos = 0;
      while (have - pos >= kAttachmentLineBytes) {
        if (!Line(buffer.data() + pos, kAttachmentLineBytes)) return false;
        pos += kAttachmentLineBytes;
      }
      carry = have - pos;
      if (carry > 0 && pos > 0)
        std::copy(buffer.begin() + pos, buffer.begin() + have, buffer.begin());
      if (last) {
        if (!Line(buffer.data(), carry)) return false;
        return Flush();
      }
    }
  }

 private:
  bool Line(const char* data, size_t size) {
    AppendBase64(out_, data, size);
    out_ += "\r\n";
    return out_.size() < kSendChunk || Flush();
  }
  bool Flush() {
    bool ok = out_.empty() || sink_.Write(out_);
    out_.clear();
    return ok;
  }

  TextSink& sink_;
  std::string out_;
};

}  // namespace

std::string FormatMailDate(std::time_t utc) {
  static const char* const kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  long long t = static_cast<long long>(utc);
  long long days = t >= 0 ? t / 86400 : (t - 86399) / 86400;
  long long seconds = t - days * 86400;
  // Civil date from days since 1970-01-01 (proleptic Gregorian).
  long long z = days + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long d = doy - (153 * mp + 2) / 5 + 1;
  long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  int weekday = static_cast<int>(((days % 7) + 7) % 7);
  char text[128];
  std::snprintf(text, sizeof text, "%s, %02lld %s %04lld %02lld:%02lld:%02lld +0000",
                kDays[weekday], d, kMonths[m - 1], y, seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

std::string EncodeHeaderText(std::string_view text) {
  return NeedsEncoding(text) ? EncodedWords(text) : std::string(text);
}

std::string EncodeDisplayName(std::string_view name) {
  if (NeedsEncoding(name)) return EncodedWords(name);
  if (!HasSpecials(name)) return std::string(name);
  std::string out = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string AttachmentName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsSafeAddress(std::string_view address) {
  for (unsigned char c : address)
    if (c < 0x20 || c == 0x7F || c == '<' || c == '>') return false;
  return true;
}

std::string HeaderBlock(const MailContent& mail, int& error) {
  std::string out;
  out += "Date: " + FormatMailDate(mail.date) + "\r\n";
  out += "Message-ID: " + mail.messageId + "\r\n";
  out += "From: " + EncodeDisplayName(mail.senderName) + " <" + mail.senderAddress + ">\r\n";
  if (mail.mailer) out += "X-Mailer: " + EncodeHeaderText(*mail.mailer) + "\r\n";
  if (!mail.replyTo.empty()) out += "Reply-To: " + EncodeHeaderText(mail.replyTo) + "\r\n";
  switch (mail.priority) {
    case 2: out += "X-Priority: 2 (High)\r\n"; break;
    case 4: out += "X-Priority: 4 (Low)\r\n"; break;
    default: out += "X-Priority: 3 (Normal)\r\n"; break;
  }
  out += "To: " + RecipientList(mail.to, 4) + "\r\n";
  if (!mail.cc.empty()) out += "Cc: " + RecipientList(mail.cc, 4) + "\r\n";
  if (mail.subject) {
    out += "Subject: " + EncodeHeaderText(*mail.subject) + "\r\n";
  } else {
    error = 202;
    out += "Subject:  \r\n";
  }
  out += "MIME-Version: 1.0\r\n";
  if (!mail.attachments.empty()) {
    out += "Content-Type: multipart/mixed; boundary=\"";
    out += kBoundary;
    out += "\"\r\n\r\n--";
    out += kBoundary;
    out += "\r\n";
  }
  if (BodyIsPlain(mail.body)) {
    out += "Content-type: text/plain; charset=US-ASCII\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";
  } else {
    out += "Content-type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
  }
  return out;
}

std::string BodyPiece(const std::string& body) {
  if (BodyIsPlain(body)) return WithCrLf(body) + "\r\n";
  std::string text = WithCrLf(body);
  std::string out;
  for (size_t i = 0; i < text.size(); i += kBodyLineBytes) {
    AppendBase64(out, text.data() + i, std::min(kBodyLineBytes, text.size() - i));
    out += "\r\n";
  }
  return out;
}

std::string AttachmentPartHeader(const std::string& name) {
  std::string out = "--";
  out += kBoundary;
  out += "\r\n";
  if (!NameNeedsParameterEncoding(name)) {
    out += "Content-Type: application/x-msdownload; name=\"" + name + "\"\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    out += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
  } else {
    // Readers that know RFC 2231 take filename*; older ones fall back to name.
    out += "Content-Type: application/x-msdownload; name=\"" + EncodedWords(name) + "\"\r\n";
    out += "Content-Transfer-Encoding: base64\r\n";
    std::string value = PercentEncode(name);
    constexpr size_t kSegment = 60;
    if (value.size() <= kSegment) {
      out += "Content-Disposition: attachment; filename*=UTF-8''" + value + "\r\n";
    } else {
      out += "Content-Disposition: attachment";
      size_t pos = 0;
      for (int index = 0; pos < value.size(); ++index) {
        size_t end = std::min(value.size(), pos + kSegment);
        if (end < value.size() && value[end - 1] == '%')
          end -= 1;
        else if (end < value.size() && end >= 2 && value[end - 2] == '%')
          end -= 2;
        out += ";\r\n filename*" + std::to_string(index) + "*=";
        if (index == 0) out += "UTF-8''";
        out.append(value, pos, end - pos);
        pos = end;
      }
      out += "\r\n";
    }
  }
  out += "\r\n";
  return out;
}

ComposeResult WriteMessage(const MailContent& mail, Services& files, TextSink& sink) {
  ComposeResult result;
  if (!sink.Write(HeaderBlock(mail, result.error))) return result;
  if (!sink.Write(BodyPiece(mail.body))) return result;
  uint64_t total = 0;
  AttachmentStreamer streamer(sink);
  for (const std::string& path : mail.attachments) {
    if (!sink.Write(AttachmentPartHeader(AttachmentName(path)))) return result;
    std::unique_ptr<ByteSource> file = files.OpenFile(path);
    if (!file || !file->IsDiskFile()) {
      result.error = 402;
      break;
    }
    uint64_t size = file->Size();
    total += size;
    if ((total & ~uint64_t{1023}) > kAttachmentLimit) {
      result.error = 403;
      continue;
    }
    bool readFailed = false;
    if (!streamer.Stream(*file, size, readFailed)) {
      if (readFailed) result.error = 402;
      return result;
    }
  }
  if (!mail.attachments.empty()) {
    std::string closing = "\r\n--";
    closing += kBoundary;
    closing += "--\r\n";
    if (!sink.Write(closing)) return result;
  }
  result.written = true;
  return result;
}

}  // namespace net
