#pragma once
// The text of one e-mail as it goes between DATA and the end-of-data line:
// header block, body and, with attachments, a multipart/mixed layout whose
// files are streamed as Base64 parts.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/Stream.h"

namespace net {

inline constexpr char kBoundary[] = "__MESSAGE__ID__54yg6f6h6y456345";
// Over all attachments of a message, compared after cutting to a whole KiB.
inline constexpr uint64_t kAttachmentLimit = 5242880;
// 54 input bytes make one Base64 line of 72 characters.
inline constexpr size_t kAttachmentLineBytes = 54;

struct MailRecipient {
  std::string name;
  std::string address;
};

struct MailContent {
  std::string senderAddress;
  std::string senderName;
  std::optional<std::string> subject;
  std::string body;
  std::optional<std::string> mailer;  // a set text, even an empty one, gives its line
  std::string replyTo;
  int priority = 3;
  std::vector<MailRecipient> to;
  std::vector<MailRecipient> cc;
  std::vector<std::string> attachments;
  std::time_t date = 0;
  std::string messageId;  // with its angle brackets
};

class TextSink {
 public:
  virtual ~TextSink() = default;
  // False ends the message.
  virtual bool Write(std::string_view text) = 0;
};

struct ComposeResult {
  bool written = false;
  int error = 0;  // 202, 402 or 403 when the message still went out
};

// "Sat, 06 Dec 2014 09:05:03 +0000"
std::string FormatMailDate(std::time_t utc);
// Header text as it is when it is plain short ASCII, else RFC 2047 encoded
// words in UTF-8, folded.
std::string EncodeHeaderText(std::string_view text);
// A display name as it goes before "<address>": encoded words as above,
// or a quoted string when it holds characters that separate or delimit
// addresses ("Doe, John", "Boss <boss@corp.example>").
std::string EncodeDisplayName(std::string_view name);
// The part of an attachment path after its last folder separator.
std::string AttachmentName(const std::string& path);
// An address that cannot break a command or a header line.
bool IsSafeAddress(std::string_view address);
std::string HeaderBlock(const MailContent& mail, int& error);
std::string BodyPiece(const std::string& body);
std::string AttachmentPartHeader(const std::string& name);

ComposeResult WriteMessage(const MailContent& mail, Services& files, TextSink& sink);

}  // namespace net
