#pragma once
// SMTP client for one message: AUTH LOGIN over TLS (STARTTLS or TLS from
// the first byte) or, when asked for, over a plain connection, then the
// message of MailMessage.h. Fill it, call SendMail once, read LastErrorCode.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/MailMessage.h"
#include "net/Stream.h"

class CSmtp {
 public:
  // Error codes of LastErrorCode.
  enum : int {
    kSocketStartFailed = 100,
    kSocketVersion = 101,
    kSendFailed = 102,
    kReceiveFailed = 103,  // also: no complete reply within the time limit
    kConnectFailed = 106,
    kHostNameFailed = 107,
    kTlsFailed = 108,             // no encrypted connection could be made
    kCertificateUntrusted = 109,  // not from a trusted root, or expired
    kCertificateWrongHost = 110,  // issued for another name
    kComposeFailed = 200,
    kNoSender = 201,
    kNoSubject = 202,
    kNoLoginName = 204,
    kNoPassword = 205,
    kBadAddress = 206,
    kMailFromRefused = 300,
    kEhloRefused = 301,
    kAuthRefused = 302,
    kDataRefused = 303,
    kQuitRefused = 304,
    kRecipientRefused = 305,
    kMessageRefused = 306,
    kStartTlsMissing = 307,  // the server offers no STARTTLS
    kStartTlsRefused = 308,
    kServerClosed = 400,
    kBadGreeting = 401,
    kAttachmentUnreadable = 402,
    kAttachmentsTooLarge = 403,
    kPasswordRefused = 404,
    kLoginRefused = 405,
    kOutOfMemory = 406,
  };

  enum class Security {
    kStartTls,     // plain greeting, then STARTTLS before anything else
    kImplicitTls,  // TLS from the first byte (port 465)
    kPlain,        // no encryption at all, password included
  };

  static constexpr net::Millis kConnectLimit{10000};
  static constexpr net::Millis kReplyLimit{30000};
  // The whole TLS handshake, at most.
  static constexpr net::Millis kHandshakeLimit{10000};

  CSmtp() : CSmtp(net::SystemServices()) {}
  explicit CSmtp(net::Services& services);
  virtual ~CSmtp();
  CSmtp(const CSmtp&) = delete;
  CSmtp& operator=(const CSmtp&) = delete;

  void SetServerHost(const std::string& host) { serverHost_ = host; }
  // 0: 465 for implicit TLS, else 25.
  void SetServerPort(uint16_t port) { serverPort_ = port; }
  void SetSecurity(Security security) { security_ = security; }
  void SetLoginName(const std::string& name) { loginName_ = name; }
  void SetLoginPassword(const std::string& password) { loginPassword_ = password; }
  void SetSenderAddress(const std::string& address) { senderAddress_ = address; }
  void SetSenderDisplayName(const std::string& name) { senderName_ = name; }
  void SetSubjectText(const std::string& subject) { subject_ = subject; }
  void SetBodyText(const std::string& body) { body_ = body; }
  void SetMailerText(const std::string& mailer) { mailer_ = mailer; }
  void SetPriority(int priority) { priority_ = priority; }
  // Connect limit and the longest wait for each whole reply.
  void SetTimeLimits(net::Millis connect, net::Millis reply);
  // Set by another thread, `stop` ends the session at its next wait.
  void SetStop(const net::StopFlag* stop) { stop_ = stop; }

  // False with error 206 for a null address or one that could break a
  // command line (control characters, angle brackets).
  bool AddToRecipient(const char* address);
  bool AddToRecipient(const std::string& address) { return AddToRecipient(address.c_str()); }
  bool AddCopyRecipient(const char* address);
  bool AddCopyRecipient(const std::string& address) { return AddCopyRecipient(address.c_str()); }
  // Gets the message through RCPT TO only; no header names it.
  bool AddBlindCopyRecipient(const char* address);
  bool AddBlindCopyRecipient(const std::string& address) {
    return AddBlindCopyRecipient(address.c_str());
  }
  bool AddAttachmentPath(const std::string& path);

  bool SendMail();
  int LastErrorCode() const { return lastError_; }

 private:
  class Session;
  bool AddAddress(std::vector<net::MailRecipient>& list, const char* address);
  bool Dialogue();
  bool Fail(int error);
  bool Secure(Session& session);
  std::string EhloName();
  std::string NewMessageId();

  net::Services& services_;
  int lastError_ = 0;
  std::string serverHost_;
  uint16_t serverPort_ = 0;
  Security security_ = Security::kStartTls;
  std::optional<std::string> loginName_;
  std::optional<std::string> loginPassword_;
  std::optional<std::string> senderAddress_;
  std::string senderName_;
  std::optional<std::string> subject_;
  std::string body_;
  std::optional<std::string> mailer_;
  int priority_ = 3;
  std::vector<net::MailRecipient> to_;
  std::vector<net::MailRecipient> cc_;
  std::vector<net::MailRecipient> bcc_;
  std::vector<std::string> attachments_;
  net::Millis connectLimit_ = kConnectLimit;
  net::Millis replyLimit_ = kReplyLimit;
  const net::StopFlag* stop_ = nullptr;
};
