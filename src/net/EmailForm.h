#pragma once
// What the e-mail sender window knows without a window: the mail
// providers, the check of its fields before anything is connected, how the
// fields fill a CSmtp, and the Chinese words for every outcome.
#include <cstdint>
#include <string>
#include <vector>

#include "net/Smtp.h"
#include "net/Stream.h"

namespace net {

struct MailProvider {
  std::string name;
  std::string suffix;  // "@" and the mail domain
  std::string host;
  uint16_t port;
  CSmtp::Security security;
};

// The nine providers in the order of both lists.
const std::vector<MailProvider>& MailProviders();

struct EmailForm {
  std::string senderAccount, password, recipientAccount, copyAddress, subject, attachmentPath, body;
  size_t senderProvider = 0, recipientProvider = 0;
};

inline constexpr char kEmailCaption[] = "邮件发送器-Mirven电脑助手";
inline constexpr char kSentText[] = "发送成功";
inline constexpr char kFailedPrefix[] = "发送失败：";

// An account as typed plus the provider's suffix; an account that already
// holds an address is taken as it is.
std::string FullAddress(const std::string& account, const std::string& suffix);

// One mailbox: a non-empty local part, "@", a domain with a dot inside,
// at most 254 characters, nothing that separates or quotes addresses.
bool IsMailbox(const std::string& address);

// Empty when the fields may be sent, else why not; touches no file, so the
// window's thread may ask.
std::string CheckEmailFields(const EmailForm& form, const std::vector<MailProvider>& providers);

// The fields, then the attachment: it must be a regular disk file within
// the size limit. Opens it (a path can name a stalled share): for a worker.
std::string CheckEmailForm(const EmailForm& form, const std::vector<MailProvider>& providers,
                           Services& files);

// Fills the client for the form (the form has passed its check).
void FillSmtp(const EmailForm& form, const std::vector<MailProvider>& providers, CSmtp& smtp);

// Why a send with this LastErrorCode failed, for "发送失败：".
std::string SendFailureReason(int code);

struct SendOutcome {
  bool sent = false;
  bool connected = false;  // false when the form was refused before connecting
  int error = 0;
  std::string message;  // what the window shows
};

// The whole send of one form, on the calling thread; a set `stop` ends it.
SendOutcome SendEmail(const EmailForm& form, const std::vector<MailProvider>& providers,
                      Services& services, const StopFlag* stop = nullptr);

}  // namespace net
