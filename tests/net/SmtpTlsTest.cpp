// The order of the encrypted dialogues, against an in-memory server whose
// TLS start is a marker in its transcript.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/Base64.h"
#include "net/Smtp.h"

namespace {

struct FakeServer {
  bool offerStartTls = true;
  bool greetAfterTls = false;  // a port 465 server
  std::string startTlsReply = "220 Go ahead\r\n";
  net::TlsFailure upgradeFailure = net::TlsFailure::kNone;

  bool secure = false;
  std::vector<std::string> lines;  // "plain CMD", "tls CMD", "<TLS host>"
  std::string plainBytes, pending, input;
  int authStep = 0;
  bool inData = false;

  void Feed(const char* data, size_t size) {
    if (!secure) plainBytes.append(data, size);
    input.append(data, size);
    for (size_t lf; (lf = input.find('\n')) != std::string::npos;) {
      std::string line = input.substr(0, lf + 1);
      input.erase(0, lf + 1);
      Handle(line);
    }
  }

  void Handle(const std::string& line) {
    if (inData) {
      if (line == ".\r\n") {
        inData = false;
        pending += "250 Queued\r\n";
      }
      return;
    }
    std::string command = line.substr(0, line.find('\r'));
    lines.push_back((secure ? "tls " : "plain ") + command);
    if (authStep > 0) {
      pending += authStep++ == 1 ? "334 UGFzc3dvcmQ6\r\n" : "235 OK\r\n";
      if (authStep > 2) authStep = 0;
    } else if (command.rfind("EHLO", 0) == 0) {
      pending += "250-fake.test\r\n";
      if (offerStartTls && !secure) pending += "250-STARTTLS\r\n";
      pending += "250 AUTH LOGIN\r\n";
    } else if (command == "STARTTLS") {
      pending += startTlsReply;
    } else if (command == "AUTH LOGIN") {
      authStep = 1;
      pending += "334 VXNlcm5hbWU6\r\n";
    } else if (command == "DATA") {
      inData = true;
      pending += "354 Go on\r\n";
    } else if (command == "QUIT") {
      pending += "221 Bye\r\n";
    } else {
      pending += "250 OK\r\n";
    }
  }
};

struct FakeStream : net::Stream {
  explicit FakeStream(FakeServer& s) : server(s) {}
  net::IoStatus SendAll(const char* data, size_t size, net::Millis) override {
    server.Feed(data, size);
    return net::IoStatus::kOk;
  }
  net::IoResult Receive(char* buffer, size_t capacity, net::Millis) override {
    if (server.pending.empty()) return {net::IoStatus::kTimedOut, 0};
    size_t n = server.pending.copy(buffer, capacity);
    server.pending.erase(0, n);
    return {net::IoStatus::kOk, n};
  }
  void Close() override {}
  FakeServer& server;
};

struct FakeServices : net::Services {
  FakeServer server;
  uint16_t port = 0;
  net::SocketStart StartSockets() override { return net::SocketStart::kOk; }
  std::unique_ptr<net::Stream> Connect(const std::string&, uint16_t p, net::Resolve, net::Millis,
                                       const net::StopFlag*) override {
    port = p;
    if (!server.greetAfterTls) server.pending += "220 fake ESMTP\r\n";
    return std::make_unique<FakeStream>(server);
  }
  std::unique_ptr<net::Stream> StartTls(std::unique_ptr<net::Stream>, const std::string& host,
                                        net::Millis, net::TlsFailure& why) override {
    server.lines.push_back("<TLS " + host + ">");
    if (server.upgradeFailure != net::TlsFailure::kNone) {
      why = server.upgradeFailure;
      return nullptr;
    }
    server.secure = true;
    if (server.greetAfterTls) server.pending += "220 fake ESMTP\r\n";
    return std::make_unique<FakeStream>(server);
  }
  std::string LocalHostName() override { return "client.test"; }
  std::unique_ptr<net::ByteSource> OpenFile(const std::string&) override { return nullptr; }
};

bool Send(net::Services& services, CSmtp::Security security, uint16_t port, int& error) {
  CSmtp smtp(services);
  smtp.SetSecurity(security);
  smtp.SetServerHost("smtp.example.com");
  smtp.SetServerPort(port);
  smtp.SetLoginName("me@example.com");
  smtp.SetLoginPassword("pa55word");
  smtp.SetSenderAddress("me@example.com");
  smtp.SetSubjectText("s");
  smtp.AddToRecipient("you@example.org");
  bool sent = smtp.SendMail();
  error = smtp.LastErrorCode();
  return sent;
}

const std::vector<std::string> kAfterLogin = {"AUTH LOGIN",
                                              net::Base64Encode("me@example.com"),
                                              net::Base64Encode("pa55word"),
                                              "MAIL FROM:<me@example.com>",
                                              "RCPT TO:<you@example.org>",
                                              "DATA",
                                              "QUIT"};

std::vector<std::string> Layer(const char* layer, std::vector<std::string> commands) {
  for (auto& c : commands) c = std::string(layer) + " " + c;
  return commands;
}

bool Contains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

TEST(SmtpTls, StartTlsComesBeforeAnythingSecretAndEhloIsAskedAgain) {
  FakeServices services;
  int error = 0;
  ASSERT_TRUE(Send(services, CSmtp::Security::kStartTls, 587, error)) << error;
  EXPECT_EQ(587, services.port);
  std::vector<std::string> expected = {"plain EHLO client.test", "plain STARTTLS",
                                       "<TLS smtp.example.com>", "tls EHLO client.test"};
  for (const auto& line : Layer("tls", kAfterLogin)) expected.push_back(line);
  EXPECT_EQ(expected, services.server.lines);
  EXPECT_EQ("EHLO client.test\r\nSTARTTLS\r\n", services.server.plainBytes);
}

TEST(SmtpTls, ImplicitTlsStartsBeforeTheGreeting) {
  FakeServices services;
  services.server.greetAfterTls = true;
  services.server.offerStartTls = false;
  int error = 0;
  ASSERT_TRUE(Send(services, CSmtp::Security::kImplicitTls, 0, error)) << error;
  EXPECT_EQ(465, services.port);
  std::vector<std::string> expected = {"<TLS smtp.example.com>", "tls EHLO client.test"};
  for (const auto& line : Layer("tls", kAfterLogin)) expected.push_back(line);
  EXPECT_EQ(expected, services.server.lines);
  EXPECT_EQ("", services.server.plainBytes);
}

TEST(SmtpTls, WithoutEncryptionNoLoginIsTried) {
  struct Case {
    bool offer;
    std::string reply;
    net::TlsFailure failure;
    int error;
  };
  const Case cases[] = {
      {false, "", net::TlsFailure::kNone, CSmtp::kStartTlsMissing},
      {true, "454 TLS not available now\r\n", net::TlsFailure::kNone, CSmtp::kStartTlsRefused},
      // Replies queued behind the 220 would pass for encrypted ones.
      {true, "220 Go ahead\r\n250-fake\r\n250 AUTH LOGIN\r\n", net::TlsFailure::kNone,
       CSmtp::kTlsFailed},
      {true, "220 Go ahead\r\n", net::TlsFailure::kUntrusted, CSmtp::kCertificateUntrusted},
      {true, "220 Go ahead\r\n", net::TlsFailure::kWrongHost, CSmtp::kCertificateWrongHost},
      {true, "220 Go ahead\r\n", net::TlsFailure::kHandshake, CSmtp::kTlsFailed},
      {true, "220 Go ahead\r\n", net::TlsFailure::kTimedOut, CSmtp::kReceiveFailed},
  };
  for (const Case& c : cases) {
    FakeServices services;
    services.server.offerStartTls = c.offer;
    services.server.startTlsReply = c.reply;
    services.server.upgradeFailure = c.failure;
    int error = 0;
    EXPECT_FALSE(Send(services, CSmtp::Security::kStartTls, 587, error));
    EXPECT_EQ(c.error, error) << c.reply;
    EXPECT_FALSE(Contains(services.server.lines, "AUTH")) << c.reply;
    EXPECT_EQ(std::string::npos, services.server.plainBytes.find(net::Base64Encode("pa55word")));
  }
  // The platform without TLS refuses an implicit connection the same way.
  struct NoTls : FakeServices {
    std::unique_ptr<net::Stream> StartTls(std::unique_ptr<net::Stream> plain, const std::string& h,
                                          net::Millis l, net::TlsFailure& why) override {
      return net::Services::StartTls(std::move(plain), h, l, why);
    }
  } none;
  int error = 0;
  EXPECT_FALSE(Send(none, CSmtp::Security::kImplicitTls, 465, error));
  EXPECT_EQ(CSmtp::kTlsFailed, error);
  EXPECT_TRUE(none.server.lines.empty());
}

}  // namespace
