#pragma once
// The message both SMTP benchmarks send: login user / password, one line
// of text and the attachment.
#include <cstdint>
#include <string>

#include "net/Smtp.h"

inline void FillBenchMail(CSmtp& smtp, const std::string& host, uint16_t port,
                          const char* attachment) {
  smtp.SetServerHost(host);
  smtp.SetServerPort(port);
  smtp.SetLoginName("user");
  smtp.SetLoginPassword("password");
  smtp.SetSenderAddress("bench@example.com");
  smtp.SetSubjectText("Benchmark");
  smtp.SetBodyText("Attached.");
  smtp.AddToRecipient("to@example.com");
  if (attachment != nullptr) smtp.AddAttachmentPath(attachment);
}
