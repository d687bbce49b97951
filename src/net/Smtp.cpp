#include "net/Smtp.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <new>
#include <random>

#include "net/Base64.h"
#include "net/SmtpReply.h"

namespace {

std::string SanitizedDomain(const std::string& name) {
  if (name.empty() || name.size() > 253) return {};
  for (unsigned char c : name)
    if (!std::isalnum(c) && c != '-' && c != '.') return {};
  return name;
}

class SinkToData : public net::TextSink {
 public:
  explicit SinkToData(net::DataWriter& writer) : writer_(writer) {}
  bool Write(std::string_view text) override { return writer_.Write(text.data(), text.size()); }

 private:
  net::DataWriter& writer_;
};

}  // namespace

// One connection: commands out, whole replies in, every wait limited.
class CSmtp::Session {
 public:
  Session(std::unique_ptr<net::Stream> stream, net::Millis limit)
      : stream_(std::move(stream)), limit_(limit) {}
  ~Session() {
    if (stream_) stream_->Close();
  }

  // 0, or the error code of a failed send or receive.
  int Reply(int& code) {
    switch (reader_.Read(*stream_, limit_, code, text_)) {
      case net::ReplyStatus::kOk: return 0;
      case net::ReplyStatus::kClosed: return kServerClosed;
      case net::ReplyStatus::kFailed: break;
    }
    return kReceiveFailed;
  }
  int Command(const std::string& command, int& code) {
    if (!command.empty() &&
        stream_->SendAll(command.data(), command.size(), limit_) != net::IoStatus::kOk)
      return kSendFailed;
    return Reply(code);
  }
  // 0, or the error code of a failed TLS start. Whatever the server sent
  // ahead of the handshake is refused: it would pass for replies that came
  // through TLS.
  int StartTls(net::Services& services, const std::string& host) {
    if (reader_.HasPending()) return kTlsFailed;
    net::TlsFailure why = net::TlsFailure::kNone;
    stream_ = services.StartTls(std::move(stream_), host, std::min(limit_, kHandshakeLimit), why);
    if (stream_) return 0;
    switch (why) {
      case net::TlsFailure::kUntrusted: return kCertificateUntrusted;
      case net::TlsFailure::kWrongHost: return kCertificateWrongHost;
      case net::TlsFailure::kTimedOut: return kReceiveFailed;
      default: return kTlsFailed;
    }
  }
  const std::string& text() const { return text_; }
  net::Stream& stream() { return *stream_; }
  net::Millis limit() const { return limit_; }

 private:
  std::unique_ptr<net::Stream> stream_;
  net::Millis limit_;
  net::ReplyReader reader_;
  std::string text_;
};

CSmtp::CSmtp(net::Services& services) : services_(services) {
  switch (services_.StartSockets()) {
    case net::SocketStart::kOk: break;
    case net::SocketStart::kFailed: lastError_ = kSocketStartFailed; break;
    case net::SocketStart::kWrongVersion: lastError_ = kSocketVersion; break;
  }
}

CSmtp::~CSmtp() = default;

void CSmtp::SetTimeLimits(net::Millis connect, net::Millis reply) {
  connectLimit_ = connect;
  replyLimit_ = reply;
}

bool CSmtp::AddAddress(std::vector<net::MailRecipient>& list, const char* address) {
  if (address == nullptr || !net::IsSafeAddress(address)) {
    lastError_ = kBadAddress;
    return false;
  }
  list.push_back({std::string(), address});
  return true;
}

bool CSmtp::AddToRecipient(const char* address) { return AddAddress(to_, address); }
bool CSmtp::AddCopyRecipient(const char* address) { return AddAddress(cc_, address); }
bool CSmtp::AddBlindCopyRecipient(const char* address) { return AddAddress(bcc_, address); }

bool CSmtp::AddAttachmentPath(const std::string& path) {
  attachments_.push_back(path);
  return true;
}

bool CSmtp::Fail(int error) {
  lastError_ = error;
  return false;
}

std::string CSmtp::EhloName() {
  std::string name = SanitizedDomain(services_.LocalHostName());
  return name.empty() ? "localhost" : name;
}

std::string CSmtp::NewMessageId() {
  static std::atomic<unsigned> counter{0};
  std::random_device device;
  unsigned long long random = (static_cast<unsigned long long>(device()) << 32) ^ device() ^
                              (static_cast<unsigned long long>(services_.Now()) << 16) ^
                              counter.fetch_add(1);
  std::string domain;
  if (senderAddress_) {
    size_t at = senderAddress_->rfind('@');
    if (at != std::string::npos) domain = SanitizedDomain(senderAddress_->substr(at + 1));
  }
  if (domain.empty()) domain = EhloName();
  char id[64];
  std::snprintf(id, sizeof id, "%lld.%016llx", static_cast<long long>(services_.Now()), random);
  return std::string("<") + id + "@" + domain + ">";
}

bool CSmtp::SendMail() {
  try {
    return Dialogue();
  } catch (const std::bad_alloc&) {
    return Fail(kOutOfMemory);
  }
}

bool CSmtp::Secure(Session& session) {
  if (int error = session.StartTls(services_, serverHost_)) return Fail(error);
  return true;
}

bool CSmtp::Dialogue() {
  const bool byName =
      !serverHost_.empty() && std::isalpha(static_cast<unsigned char>(serverHost_[0]));
  const bool implicitTls = security_ == Security::kImplicitTls;
  const uint16_t port = serverPort_ != 0 ? serverPort_ : implicitTls ? 465 : 25;
  std::unique_ptr<net::Stream> stream = services_.Connect(
      serverHost_, port, byName ? net::Resolve::kByName : net::Resolve::kNumericOnly, connectLimit_,
      stop_);
  if (!stream) return Fail(kConnectFailed);
  // Leaving this function on any path closes the connection.
  Session session(std::move(stream), replyLimit_);
  if (implicitTls && !Secure(session)) return false;

  int code = 0;
  if (int error = session.Reply(code)) return Fail(error);
  if (code != 220) return Fail(kBadGreeting);

  const std::string ehlo = "EHLO " + EhloName() + "\r\n";
  if (int error = session.Command(ehlo, code)) return Fail(error);
  if (code != 250) return Fail(kEhloRefused);

  if (security_ == Security::kStartTls) {
    // Nothing but EHLO and STARTTLS goes out before the handshake; the
    // capabilities heard so far are forgotten and asked for again.
    if (!net::OffersExtension(session.text(), "STARTTLS")) return Fail(kStartTlsMissing);
    if (int error = session.Command("STARTTLS\r\n", code)) return Fail(error);
    if (code != 220) return Fail(kStartTlsRefused);
    if (!Secure(session)) return false;
    if (int error = session.Command(ehlo, code)) return Fail(error);
    if (code != 250) return Fail(kEhloRefused);
  }

  if (int error = session.Command("AUTH LOGIN\r\n", code)) return Fail(error);
  if (code != 334) return Fail(kAuthRefused);
  if (!loginName_) return Fail(kNoLoginName);
  if (int error = session.Command(net::Base64Encode(*loginName_) + "\r\n", code))
    return Fail(error);
  if (code != 334) return Fail(kLoginRefused);
  if (!loginPassword_) return Fail(kNoPassword);
  if (int error = session.Command(net::Base64Encode(*loginPassword_) + "\r\n", code))
    return Fail(error);
  if (code == 535) return Fail(kPasswordRefused);
  if (code != 235) return Fail(kLoginRefused);

  if (!senderAddress_ || !net::IsSafeAddress(*senderAddress_)) return Fail(kNoSender);
  if (int error = session.Command("MAIL FROM:<" + *senderAddress_ + ">\r\n", code))
    return Fail(error);
  if (code != 250) return Fail(kMailFromRefused);

  bool accepted = false;
  for (const net::MailRecipient& recipient : to_) {
    if (int error = session.Command("RCPT TO:<" + recipient.address + ">\r\n", code))
      return Fail(error);
    if (code == 250) {
      accepted = true;
    } else {
      lastError_ = kRecipientRefused;
    }
  }
  if (!accepted) return false;
  for (const auto* list : {&cc_, &bcc_}) {
    for (const net::MailRecipient& recipient : *list) {
      if (int error = session.Command("RCPT TO:<" + recipient.address + ">\r\n", code))
        return Fail(error);
    }
  }

  if (int error = session.Command("DATA\r\n", code)) return Fail(error);
  if (code != 354) return Fail(kDataRefused);

  net::MailContent mail;
  mail.senderAddress = *senderAddress_;
  mail.senderName = senderName_;
  mail.subject = subject_;
  mail.body = body_;
  mail.mailer = mailer_;
  mail.priority = priority_;
  mail.to = to_;
  mail.cc = cc_;
  mail.attachments = attachments_;
  mail.date = services_.Now();
  mail.messageId = NewMessageId();

  net::DataWriter writer(session.stream(), session.limit());
  SinkToData sink(writer);
  net::ComposeResult composed = net::WriteMessage(mail, services_, sink);
  if (composed.error != 0) lastError_ = composed.error;
  // Without the end-of-data line the server drops what it got.
  if (!composed.written) return composed.error == kAttachmentUnreadable ? false : Fail(kSendFailed);
  if (!writer.Finish()) return Fail(kSendFailed);
  if (int error = session.Reply(code)) return Fail(error);
  if (code != 250) return Fail(kMessageRefused);

  if (int error = session.Command("QUIT\r\n", code)) return Fail(error);
  if (code != 221) return Fail(kQuitRefused);
  return true;
}
