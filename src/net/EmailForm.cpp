#include "net/EmailForm.h"

#include <string_view>

#include "net/MailMessage.h"

namespace net {

namespace {

using Security = CSmtp::Security;

std::string Trimmed(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return {};
  size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

const MailProvider& Pick(const std::vector<MailProvider>& providers, size_t index) {
  return providers[index < providers.size() ? index : 0];
}

}  // namespace

const std::vector<MailProvider>& MailProviders() {
  // Every one of them refuses a login without encryption.
  static const std::vector<MailProvider> providers = {
      {"QQ邮箱", "@qq.com", "smtp.qq.com", 465, Security::kImplicitTls},
      {"163邮箱", "@163.com", "smtp.163.com", 465, Security::kImplicitTls},
      {"126邮箱", "@126.com", "smtp.126.com", 465, Security::kImplicitTls},
      {"Gmail", "@gmail.com", "smtp.gmail.com", 465, Security::kImplicitTls},
      {"Hotmail", "@hotmail.com", "smtp-mail.outlook.com", 587, Security::kStartTls},
      {"Outlook", "@outlook.com", "smtp-mail.outlook.com", 587, Security::kStartTls},
      {"搜狐邮箱", "@sohu.com", "smtp.sohu.com", 465, Security::kImplicitTls},
      {"新浪邮箱", "@sina.com", "smtp.sina.com", 465, Security::kImplicitTls},
      {"139邮箱", "@139.com", "smtp.139.com", 465, Security::kImplicitTls},
  };
  return providers;
}

std::string FullAddress(const std::string& account, const std::string& suffix) {
  std::string trimmed = Trimmed(account);
  return trimmed.find('@') != std::string::npos ? trimmed : trimmed + suffix;
}

bool IsMailbox(const std::string& address) {
  if (address.empty() || address.size() > 254) return false;
  size_t at = address.find('@');
  if (at == 0 || at == std::string::npos || address.find('@', at + 1) != std::string::npos)
    return false;
  const std::string domain = address.substr(at + 1);
  size_t dot = domain.find('.');
  if (dot == 0 || dot == std::string::npos || domain.back() == '.' ||
      domain.find("..") != std::string::npos)
    return false;
  for (unsigned char c : address)
    if (c <= ' ' || c == 0x7F ||
        std::string_view(",;<>()[]\\\"").find(static_cast<char>(c)) != std::string_view::npos)
      return false;
  return IsSafeAddress(address);
}

std::string CheckEmailFields(const EmailForm& form, const std::vector<MailProvider>& providers) {
  if (Trimmed(form.senderAccount).empty()) return "请填写发件人账号";
  if (Trimmed(form.recipientAccount).empty()) return "请填写收件人账号";
  if (!IsMailbox(FullAddress(form.senderAccount, Pick(providers, form.senderProvider).suffix)))
    return "发件人地址无效";
  if (!IsMailbox(
          FullAddress(form.recipientAccount, Pick(providers, form.recipientProvider).suffix)))
    return "收件人地址无效";
  const std::string copy = Trimmed(form.copyAddress);
  if (!copy.empty() && !IsMailbox(copy)) return "抄送地址无效";
  return {};
}

std::string CheckEmailForm(const EmailForm& form, const std::vector<MailProvider>& providers,
                           Services& files) {
  std::string refused = CheckEmailFields(form, providers);
  if (!refused.empty()) return refused;
  const std::string path = Trimmed(form.attachmentPath);
  if (path.empty()) return {};
  const std::string notAFile = "附件不是磁盘上的普通文件：" + path;
  if (IsDevicePath(path)) return notAFile;
  std::unique_ptr<ByteSource> file = files.OpenFile(path);
  if (!file) return "附件不存在或无法读取：" + path;
  if (!file->IsDiskFile()) return notAFile;
  char probe[1];
  if (file->Read(probe, sizeof probe) < 0) return "附件不存在或无法读取：" + path;
  if ((file->Size() & ~uint64_t{1023}) > kAttachmentLimit) return "附件超过5MB的大小限制：" + path;
  return {};
}

void FillSmtp(const EmailForm& form, const std::vector<MailProvider>& providers, CSmtp& smtp) {
  const MailProvider& server = Pick(providers, form.senderProvider);
  const std::string sender = FullAddress(form.senderAccount, server.suffix);
  smtp.SetServerHost(server.host);
  smtp.SetServerPort(server.port);
  smtp.SetSecurity(server.security);
  // Today's providers want the whole address as the login name.
  smtp.SetLoginName(sender);
  smtp.SetLoginPassword(form.password);
  smtp.SetSenderDisplayName(sender);
  smtp.SetSenderAddress(sender);
  const std::string copy = Trimmed(form.copyAddress);
  if (!copy.empty()) smtp.AddCopyRecipient(copy);
  smtp.SetSubjectText(form.subject);
  smtp.AddToRecipient(
      FullAddress(form.recipientAccount, Pick(providers, form.recipientProvider).suffix));
  smtp.SetPriority(3);
  smtp.SetMailerText(kEmailCaption);
  smtp.SetBodyText(form.body);
  const std::string path = Trimmed(form.attachmentPath);
  if (!path.empty()) smtp.AddAttachmentPath(path);
}

std::string SendFailureReason(int code) {
  switch (code) {
    case CSmtp::kSocketStartFailed:
    case CSmtp::kSocketVersion: return "系统的网络组件无法启动";
    case CSmtp::kConnectFailed: return "无法连接邮件服务器，请检查网络连接";
    case CSmtp::kSendFailed: return "与邮件服务器的连接中断";
    case CSmtp::kReceiveFailed: return "邮件服务器没有及时应答（连接超时）";
    case CSmtp::kServerClosed: return "邮件服务器断开了连接";
    case CSmtp::kTlsFailed: return "无法与邮件服务器建立加密连接";
    case CSmtp::kCertificateUntrusted: return "邮件服务器的证书无效（不受信任或已过期）";
    case CSmtp::kCertificateWrongHost: return "邮件服务器的证书与服务器地址不符";
    case CSmtp::kStartTlsMissing: return "邮件服务器不支持加密连接，为保护密码已停止发送";
    case CSmtp::kStartTlsRefused: return "邮件服务器拒绝了加密连接";
    case CSmtp::kBadGreeting:
    case CSmtp::kEhloRefused: return "邮件服务器拒绝了连接";
    case CSmtp::kAuthRefused: return "邮件服务器不接受这种登录方式";
    case CSmtp::kPasswordRefused:
    case CSmtp::kLoginRefused:
    case CSmtp::kNoLoginName:
    case CSmtp::kNoPassword:
      return "账号或密码错误。很多邮箱要求使用授权码（而不是登录密码）登录，"
             "请在邮箱设置中开启SMTP服务并获取授权码";
    case CSmtp::kNoSender:
    case CSmtp::kMailFromRefused: return "邮件服务器拒绝了发件人地址";
    case CSmtp::kBadAddress:
    case CSmtp::kRecipientRefused: return "邮件服务器拒绝了收件人地址";
    case CSmtp::kDataRefused:
    case CSmtp::kMessageRefused: return "邮件服务器拒绝了这封邮件";
    case CSmtp::kQuitRefused: return "邮件服务器没有正常结束会话";
    case CSmtp::kAttachmentUnreadable: return "附件无法读取";
    case CSmtp::kAttachmentsTooLarge: return "附件超过5MB的大小限制";
    case CSmtp::kComposeFailed:
    case CSmtp::kOutOfMemory: return "内存不足";
    default: return "错误代码 " + std::to_string(code);
  }
}

SendOutcome SendEmail(const EmailForm& form, const std::vector<MailProvider>& providers,
                      Services& services, const StopFlag* stop) {
  SendOutcome outcome;
  std::string refused = CheckEmailForm(form, providers, services);
  if (!refused.empty()) {
    outcome.message = kFailedPrefix + refused;
    return outcome;
  }
  outcome.connected = true;
  try {
    CSmtp smtp(services);
    FillSmtp(form, providers, smtp);
    smtp.SetStop(stop);
    outcome.sent = smtp.SendMail();
    outcome.error = smtp.LastErrorCode();
  } catch (...) {
    outcome.sent = false;
    outcome.error = CSmtp::kOutOfMemory;
  }
  // An attachment that vanished after the check went out as an empty part.
  const bool attachmentLost =
      outcome.error == CSmtp::kAttachmentUnreadable || outcome.error == CSmtp::kAttachmentsTooLarge;
  if (outcome.sent && attachmentLost) {
    outcome.sent = false;
    outcome.message =
        kFailedPrefix + ("邮件已发出，但没有附上附件：" + SendFailureReason(outcome.error));
  } else {
    outcome.message = outcome.sent ? kSentText : kFailedPrefix + SendFailureReason(outcome.error);
  }
  return outcome;
}

}  // namespace net
