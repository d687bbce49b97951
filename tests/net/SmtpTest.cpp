#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "net/MailMessage.h"
#include "net/Peers.h"
#include "net/Smtp.h"

namespace {

using namespace std::chrono_literals;
using nettest::Encode;

class SmtpPeers : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = nettest::Start("smtp " + Encode("user@example.com") + " " + Encode("s3cret"));
    ASSERT_NE(0, server_.port) << nettest::Problem();
  }
  void TearDown() override { nettest::Stop(server_); }

  void Fill(CSmtp& smtp, const std::string& password = "s3cret", bool subject = true) {
    smtp.SetSecurity(CSmtp::Security::kPlain);
    smtp.SetServerHost("127.0.0.1");
    smtp.SetServerPort(server_.port);
    smtp.SetLoginName("user@example.com");
    smtp.SetLoginPassword(password);
    smtp.SetSenderAddress("user@example.com");
    smtp.SetSenderDisplayName("user@example.com");
    if (subject) smtp.SetSubjectText("Report");
    smtp.SetBodyText("Hello,\r\nall well.");
    smtp.AddToRecipient("to@example.org");
  }

  nettest::ReceivedMail SendOne(CSmtp& smtp) {
    EXPECT_TRUE(smtp.SendMail()) << smtp.LastErrorCode();
    auto mails = nettest::Mails(server_);
    EXPECT_EQ(1u, mails.size());
    return mails.empty() ? nettest::ReceivedMail{} : mails[0];
  }

  nettest::Peer server_;
};

TEST_F(SmtpPeers, PlainMessageWithCopies) {
  CSmtp smtp;
  Fill(smtp);
  smtp.SetMailerText("Mailer 1");
  smtp.SetPriority(4);
  smtp.AddCopyRecipient("cc@example.org");
  smtp.AddBlindCopyRecipient("hidden@example.org");
  smtp.SetBodyText("Hello,\r\n.\r\n..two dots\r\n.hidden line\r\nend");
  nettest::ReceivedMail mail = SendOne(smtp);
  EXPECT_EQ(0, smtp.LastErrorCode());
  EXPECT_EQ("user@example.com", mail.from);
  EXPECT_EQ((std::vector<std::string>{"to@example.org", "cc@example.org", "hidden@example.org"}),
            mail.recipients);
  EXPECT_TRUE(
      std::regex_match(mail.Header("Date"), std::regex("[A-Z][a-z]{2}, \\d\\d [A-Z][a-z]{2} \\d{4} "
                                                       "\\d\\d:\\d\\d:\\d\\d \\+0000")))
      << mail.Header("Date");
  EXPECT_TRUE(
      std::regex_match(mail.Header("Message-ID"), std::regex("<[0-9a-f.]+@example\\.com>")));
  EXPECT_EQ("Mailer 1", mail.Header("X-Mailer"));
  EXPECT_EQ("4 (Low)", mail.Header("X-Priority"));
  EXPECT_EQ("to@example.org", mail.Header("To"));
  EXPECT_EQ("cc@example.org", mail.Header("Cc"));
  EXPECT_FALSE(mail.HasHeader("Bcc"));
  EXPECT_EQ("Report", mail.Header("Subject"));
  EXPECT_EQ("1.0", mail.Header("MIME-Version"));
  EXPECT_NE(std::string::npos,
            mail.raw.find("\r\nFrom: \"user@example.com\" <user@example.com>\r\n"));
  EXPECT_EQ(std::string::npos, mail.raw.find("__MESSAGE__ID__"));
  ASSERT_EQ(1u, mail.parts.size());
  EXPECT_EQ("text/plain", mail.parts[0].contentType);
  EXPECT_EQ("us-ascii", mail.parts[0].charset);
  EXPECT_EQ("Hello,\r\n.\r\n..two dots\r\n.hidden line\r\nend\r\n\r\n", mail.parts[0].payload);
  EXPECT_EQ("", mail.defects);
}

TEST_F(SmtpPeers, AttachmentsArriveByteForByte) {
  nettest::TempDir dir;
  std::string binary;
  for (int i = 0; i < 20000; ++i) binary += static_cast<char>((i * 131 + i / 256) % 256);
  const std::vector<std::pair<std::string, std::string>> files = {
      {"empty.dat", ""},
      {"54.bin", std::string(54, '\x01')},
      {"one.txt", "x"},
      {"binary.bin", binary},
      {"报告 二〇一四.txt", "中文内容\r\n"}};
  CSmtp smtp;
  Fill(smtp);
  smtp.SetSubjectText("月度报告 – résumé");
  smtp.SetSenderDisplayName("张三");
  smtp.SetMailerText("邮件发送器-Mirven电脑助手");
  smtp.SetBodyText("你好，\n.附件见下。\n");
  for (const auto& [name, bytes] : files) smtp.AddAttachmentPath(dir.Write(name, bytes));
  nettest::ReceivedMail mail = SendOne(smtp);
  EXPECT_EQ(0, smtp.LastErrorCode());
  EXPECT_EQ("月度报告 – résumé", mail.Header("Subject"));
  EXPECT_EQ("张三 <user@example.com>", mail.Header("From"));
  EXPECT_EQ("邮件发送器-Mirven电脑助手", mail.Header("X-Mailer"));
  for (unsigned char c : mail.raw) ASSERT_LT(c, 0x80) << "raw 8-bit byte in the message";
  std::string line72;
  for (int i = 0; i < 18; ++i) line72 += "AQEB";
  EXPECT_NE(std::string::npos, mail.raw.find("\r\n\r\n" + line72 + "\r\n\r\n--"));
  ASSERT_EQ(files.size() + 1, mail.parts.size());
  EXPECT_EQ("utf-8", mail.parts[0].charset);
  EXPECT_EQ("你好，\r\n.附件见下。\r\n", mail.parts[0].payload);
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ("application/x-msdownload", mail.parts[i + 1].contentType);
    EXPECT_EQ(files[i].first, mail.parts[i + 1].filename);
    EXPECT_EQ(files[i].second, mail.parts[i + 1].payload) << files[i].first;
  }
  EXPECT_EQ("", mail.defects);
}

TEST_F(SmtpPeers, NamesAndBodiesCannotBreakTheStructure) {
  nettest::TempDir dir;
  // A body that forges a part of its own with the fixed boundary.
  const std::string body = std::string("See attached.\r\n--") + net::kBoundary +
                           "\r\nContent-Type: application/x-msdownload; name=\"invoice.exe\"\r\n"
                           "Content-Transfer-Encoding: base64\r\n\r\nTVo=\r\n--" +
                           net::kBoundary + "--\r\n";
  for (const char* name : {"Doe, John", "Boss <boss@corp.example>", "Q \"Quote\" \\ back"}) {
    CSmtp smtp;
    Fill(smtp);
    smtp.SetSenderDisplayName(name);
    smtp.SetBodyText(body);
    smtp.AddAttachmentPath(dir.Write("real.txt", "real bytes"));
    EXPECT_TRUE(smtp.SendMail()) << smtp.LastErrorCode();
  }
  auto mails = nettest::Mails(server_);
  ASSERT_EQ(3u, mails.size());
  const std::vector<std::string> names = {"Doe, John", "Boss <boss@corp.example>",
                                          "Q \"Quote\" \\ back"};
  for (size_t i = 0; i < mails.size(); ++i) {
    std::vector<nettest::ReceivedMailbox> from;
    for (const auto& box : mails[i].mailboxes)
      if (box.header == "From") from.push_back(box);
    ASSERT_EQ(1u, from.size()) << names[i];
    EXPECT_EQ(names[i], from[0].name);
    EXPECT_EQ("user@example.com", from[0].address);
    ASSERT_EQ(2u, mails[i].parts.size());
    EXPECT_EQ(body, mails[i].parts[0].payload) << "the body went as base64, whole";
    EXPECT_EQ("real.txt", mails[i].parts[1].filename);
    EXPECT_EQ("real bytes", mails[i].parts[1].payload);
    EXPECT_EQ("", mails[i].defects);
  }
}

TEST_F(SmtpPeers, RecordedProblemsStillSend) {
  nettest::TempDir dir;
  std::string three(3 * 1024 * 1024, 'q');
  CSmtp smtp;
  Fill(smtp);
  smtp.AddAttachmentPath(dir.Write("a.bin", three));
  smtp.AddAttachmentPath(dir.Write("b.bin", three));
  nettest::ReceivedMail big = SendOne(smtp);
  EXPECT_EQ(403, smtp.LastErrorCode());
  ASSERT_EQ(3u, big.parts.size());
  EXPECT_EQ(three, big.parts[1].payload);
  EXPECT_EQ("", big.parts[2].payload);

  CSmtp missing;
  Fill(missing);
  missing.AddAttachmentPath(dir.path() + "/none.txt");
  missing.AddAttachmentPath(dir.Write("later.txt", "later"));
  EXPECT_TRUE(missing.SendMail());
  EXPECT_EQ(402, missing.LastErrorCode());
  auto mails = nettest::Mails(server_);
  ASSERT_EQ(2u, mails.size());
  EXPECT_EQ(std::string::npos, mails[1].raw.find("later.txt"));

  CSmtp untitled;
  Fill(untitled, "s3cret", false);
  EXPECT_TRUE(untitled.SendMail());
  EXPECT_EQ(202, untitled.LastErrorCode());
  mails = nettest::Mails(server_);
  ASSERT_EQ(3u, mails.size());
  EXPECT_NE(std::string::npos, mails[2].raw.find("\r\nSubject:  \r\n"));
}

// The system's sockets; every file measures 4096 bytes and holds 100.
struct ShrinkingFiles : net::Services {
  struct File : net::ByteSource {
    size_t left = 100;
    uint64_t Size() override { return 4096; }
    long long Read(char* buffer, size_t capacity) override {
      size_t n = std::min(capacity, left);
      std::fill(buffer, buffer + n, 's');
      left -= n;
      return static_cast<long long>(n);
    }
  };
  net::Services& system = net::SystemServices();
  net::SocketStart StartSockets() override { return system.StartSockets(); }
  std::unique_ptr<net::Stream> Connect(const std::string& host, uint16_t port, net::Resolve resolve,
                                       net::Millis limit, const net::StopFlag* stop) override {
    return system.Connect(host, port, resolve, limit, stop);
  }
  std::string LocalHostName() override { return system.LocalHostName(); }
  std::unique_ptr<net::ByteSource> OpenFile(const std::string&) override {
    return std::make_unique<File>();
  }
};

TEST_F(SmtpPeers, AnAttachmentThatShrankIsNeverDelivered) {
  ShrinkingFiles files;
  CSmtp smtp(files);
  Fill(smtp);
  smtp.AddAttachmentPath("report.bin");
  EXPECT_FALSE(smtp.SendMail());
  EXPECT_EQ(402, smtp.LastErrorCode());
  EXPECT_TRUE(nettest::Mails(server_).empty());
}

TEST_F(SmtpPeers, WrongPasswordIsRefused) {
  CSmtp smtp;
  Fill(smtp, "wrong");
  EXPECT_FALSE(smtp.SendMail());
  EXPECT_EQ(404, smtp.LastErrorCode());
  EXPECT_TRUE(nettest::Mails(server_).empty());
}

class SmtpFaults : public ::testing::Test {
 protected:
  // Sends one message to a scripted server and returns what it received.
  std::string Send(const std::string& options, bool expected, int error,
                   std::vector<std::string> to = {"a@example.org"}) {
    nettest::Peer peer = nettest::Start("smtpfault " + options);
    EXPECT_NE(0, peer.port) << nettest::Problem();
    CSmtp smtp;
    smtp.SetTimeLimits(1000ms, 400ms);
    smtp.SetSecurity(CSmtp::Security::kPlain);
    smtp.SetServerHost("127.0.0.1");
    smtp.SetServerPort(peer.port);
    smtp.SetLoginName(login_);
    smtp.SetLoginPassword("pw");
    smtp.SetSenderAddress("me@example.com");
    smtp.SetSubjectText("s");
    smtp.SetBodyText("b");
    for (const auto& address : to) smtp.AddToRecipient(address);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(expected, smtp.SendMail()) << options;
    EXPECT_EQ(error, smtp.LastErrorCode()) << options;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << options;
    std::string log = nettest::Log(peer);
    nettest::Stop(peer);
    return log;
  }
  std::string login_ = "me";
};

TEST_F(SmtpFaults, RepliesDecideTheOutcome) {
  EXPECT_EQ("", Send("greeting=554", false, 401));
  std::string log = Send("refuse=bad@example.org", true, 305, {"bad@example.org", "a@example.org"});
  EXPECT_NE(std::string::npos, log.find("DATA\r\n"));
  log = Send("refuse=a@example.org,b@example.org", false, 305, {"a@example.org", "b@example.org"});
  EXPECT_EQ(std::string::npos, log.find("DATA"));
  Send("pass=535", false, 404);
  Send("pass=454", false, 405);
  log = Send("split=1", true, 0);
  EXPECT_NE(std::string::npos, log.find("QUIT\r\n"));
  login_ = "";
  log = Send("", true, 0);
  EXPECT_NE(std::string::npos, log.find("AUTH LOGIN\r\n\r\ncHc=\r\n")) << "empty name, empty line";
}

TEST_F(SmtpFaults, ClosedOrStalledConnectionsEndInTime) {
  for (const char* step :
       {"GREETING", "EHLO", "AUTH", "USER", "PASS", "MAIL", "RCPT", "DATA", "DOT", "QUIT"}) {
    Send(std::string("close=") + step, false, 400);
    if (std::string(step) != "QUIT") Send(std::string("stall=") + step, false, 103);
  }
}

TEST_F(SmtpFaults, UnreachableServersAndBadAddresses) {
  nettest::Peer hole = nettest::Start("blackhole");
  for (std::string host : {std::string("127.0.0.1"), std::string("1nvalid.example")}) {
    CSmtp smtp;
    smtp.SetTimeLimits(300ms, 300ms);
    smtp.SetServerHost(host);
    smtp.SetServerPort(hole.port);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(smtp.SendMail());
    EXPECT_EQ(106, smtp.LastErrorCode());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  }
  nettest::Stop(hole);
  EXPECT_EQ(10000ms, CSmtp::kConnectLimit);
  EXPECT_EQ(30000ms, CSmtp::kReplyLimit);

  CSmtp smtp;
  EXPECT_FALSE(smtp.AddToRecipient(static_cast<const char*>(nullptr)));
  EXPECT_EQ(206, smtp.LastErrorCode());
  EXPECT_FALSE(smtp.AddCopyRecipient("a@example.org>\r\nDATA"));
  EXPECT_TRUE(smtp.AddToRecipient("a@example.org"));
}

}  // namespace
