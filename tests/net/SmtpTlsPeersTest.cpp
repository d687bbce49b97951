// The client over the system's TLS against aiosmtpd with TLS on
// 127.0.0.1. The peers' test CA is trusted in this Wine prefix only while
// the suite runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <chrono>

#include "net/EmailForm.h"
#include "net/Peers.h"
#include "net/Smtp.h"
#include "net/TrustedTestCa.h"

namespace {

using nettest::Encode;

class SmtpTlsPeers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { trust_ = new nettest::TrustedTestCa(nettest::TestCaDer()); }
  static void TearDownTestSuite() {
    delete trust_;
    trust_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(trust_->ok()) << nettest::Problem(); }
  void TearDown() override {
    for (const auto& peer : peers_) nettest::Stop(peer);
  }

  nettest::Peer Server(const std::string& mode, const std::string& certificate) {
    nettest::Peer peer = nettest::Start("smtptls " + Encode("me@mirven.test") + " " +
                                        Encode("auth-code") + " " + mode + " " + certificate);
    EXPECT_NE(0, peer.port) << nettest::Problem();
    peers_.push_back(peer);
    return peer;
  }

  // The window's way of sending, with a provider table that points here.
  net::SendOutcome Send(const nettest::Peer& peer, CSmtp::Security security,
                        const std::string& password, const std::string& attachment = "") {
    std::vector<net::MailProvider> local = {
        {"test", "@mirven.test", "localhost", peer.port, security}};
    net::EmailForm form;
    form.senderAccount = "me";
    form.password = password;
    form.recipientAccount = "you";
    form.subject = "月度报告：测试";
    form.body = "你好，\r\n附件是本月的报告。\r\n";
    form.attachmentPath = attachment;
    return net::SendEmail(form, local, net::SystemServices());
  }

  static nettest::TrustedTestCa* trust_;
  std::vector<nettest::Peer> peers_;
};

nettest::TrustedTestCa* SmtpTlsPeers::trust_ = nullptr;

TEST_F(SmtpTlsPeers, ImplicitAndStartTlsDeliverTheWholeMail) {
  nettest::TempDir dir;
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>((i * 151 + i / 7) % 256);
  const std::string path = dir.Write("季度报表 2026.bin", bytes);
  for (CSmtp::Security security : {CSmtp::Security::kImplicitTls, CSmtp::Security::kStartTls}) {
    const bool implicit = security == CSmtp::Security::kImplicitTls;
    nettest::Peer peer = Server(implicit ? "implicit" : "starttls", "localhost");
    net::SendOutcome outcome = Send(peer, security, "auth-code", path);
    EXPECT_TRUE(outcome.sent) << outcome.message;
    EXPECT_EQ("发送成功", outcome.message);
    auto mails = nettest::Mails(peer);
    ASSERT_EQ(1u, mails.size());
    EXPECT_EQ("me@mirven.test", mails[0].from);
    EXPECT_EQ("月度报告：测试", mails[0].Header("Subject"));
    ASSERT_EQ(2u, mails[0].parts.size());
    EXPECT_EQ("你好，\r\n附件是本月的报告。\r\n", mails[0].parts[0].payload);
    EXPECT_EQ("季度报表 2026.bin", mails[0].parts[1].filename);
    EXPECT_TRUE(bytes == mails[0].parts[1].payload) << "attachment differs";
    EXPECT_EQ("", mails[0].defects);
  }
}

TEST_F(SmtpTlsPeers, CertificatesForAnotherNameOrFromNobodyAreRefused) {
  struct Case {
    const char* certificate;
    CSmtp::Security security;
    int error;
  };
  for (const Case& c : {Case{"other", CSmtp::Security::kImplicitTls, CSmtp::kCertificateWrongHost},
                        Case{"self", CSmtp::Security::kImplicitTls, CSmtp::kCertificateUntrusted},
                        Case{"other", CSmtp::Security::kStartTls, CSmtp::kCertificateWrongHost},
                        Case{"self", CSmtp::Security::kStartTls, CSmtp::kCertificateUntrusted}}) {
    const bool implicit = c.security == CSmtp::Security::kImplicitTls;
    nettest::Peer peer = Server(implicit ? "implicit" : "starttls", c.certificate);
    net::SendOutcome outcome = Send(peer, c.security, "auth-code");
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(c.error, outcome.error) << c.certificate;
    EXPECT_EQ("发送失败：" + net::SendFailureReason(c.error), outcome.message);
    EXPECT_TRUE(nettest::Call("auths " + peer.id).empty()) << "no login over a refused connection";
    EXPECT_TRUE(nettest::Mails(peer).empty());
  }
}

// Implicit TLS against a plain server: its greeting cannot start a TLS
// record, so the handshake fails at once instead of waiting for one.
TEST_F(SmtpTlsPeers, APlainServerFailsImplicitTlsAtOnce) {
  nettest::Peer plain = nettest::Start("smtp " + Encode("me@mirven.test") + " " + Encode("x"));
  ASSERT_NE(0, plain.port) << nettest::Problem();
  peers_.push_back(plain);
  auto start = std::chrono::steady_clock::now();
  net::SendOutcome outcome = Send(plain, CSmtp::Security::kImplicitTls, "x");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(CSmtp::kTlsFailed, outcome.error);
  EXPECT_EQ("发送失败：无法与邮件服务器建立加密连接", outcome.message);
  EXPECT_EQ(std::chrono::seconds(10), CSmtp::kHandshakeLimit);
}

}  // namespace
