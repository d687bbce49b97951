// The sender window against aiosmtpd with implicit TLS on this machine.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "net/EmailDlg.h"
#include "net/Peers.h"
#include "net/TrustedTestCa.h"
#include "res/ids_email.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

using nettest::Encode;

class EmailSender : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { trust_ = new nettest::TrustedTestCa(nettest::TestCaDer()); }
  static void TearDownTestSuite() {
    delete trust_;
    trust_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(trust_->ok()) << nettest::Problem();
    peer_ = nettest::Start("smtptls " + Encode("me@mirven.test") + " " + Encode("auth-code") +
                           " implicit localhost");
    ASSERT_NE(0, peer_.port) << nettest::Problem();
    // Provider 0 leads nowhere; provider 1 is the local server.
    std::vector<net::MailProvider> providers = {
        {"nowhere", "@nowhere.test", "127.0.0.1", 1, CSmtp::Security::kImplicitTls},
        {"local", "@mirven.test", "localhost", peer_.port, CSmtp::Security::kImplicitTls}};
    dlg_ = controls::MirvenDialog::Open<EmailDlg>("邮件发送器", providers, net::SystemServices());
    ASSERT_NE(nullptr, dlg_);
    h_ = dlg_->hwnd();
    Choose(IDC_EMAIL_SENDER_PROVIDER, 1);
    Set(IDC_EMAIL_SENDER, "me");
    Set(IDC_EMAIL_PASSWORD, "auth-code");
    Set(IDC_EMAIL_RECIPIENT, "you");
    Set(IDC_EMAIL_SUBJECT, "周报：第三季度");
    Set(IDC_EMAIL_BODY, "各位好，\r\n周报见附件。");
  }
  void TearDown() override {
    if (IsWindow(h_)) DestroyWindow(h_);
    nettest::Stop(peer_);
  }
  void Set(int id, const std::string& text) { SetDlgItemTextW(h_, id, base::Wide(text).c_str()); }
  void Choose(int id, int index) {
    SendDlgItemMessageW(h_, id, CB_SETCURSEL, index, 0);
    SendMessageW(h_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), 0);
  }
  HWND SendButton() const { return GetDlgItem(h_, IDC_EMAIL_SEND); }
  void ClickSend() {
    SendMessageW(h_, WM_COMMAND, MAKEWPARAM(IDC_EMAIL_SEND, BN_CLICKED),
                 reinterpret_cast<LPARAM>(SendButton()));
  }
  // The text of the next message box, after the send has ended.
  std::string Outcome() {
    EXPECT_TRUE(wintest::PumpUntil([&] { return !effects_.fake.messages.empty(); }, 30000));
    if (effects_.fake.messages.empty()) return {};
    EXPECT_EQ("邮件发送器-Mirven电脑助手", effects_.fake.messages.back().caption);
    std::string text = effects_.fake.messages.back().text;
    effects_.fake.messages.clear();
    return text;
  }
  size_t Logins() { return nettest::Call("auths " + peer_.id).size(); }

  static nettest::TrustedTestCa* trust_;
  wintest::ScopedEffects effects_;
  nettest::Peer peer_;
  EmailDlg* dlg_ = nullptr;
  HWND h_ = nullptr;
};

nettest::TrustedTestCa* EmailSender::trust_ = nullptr;

TEST_F(EmailSender, SendsOnAWorkerWithSendDisabledMeanwhile) {
  nettest::TempDir dir;
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += static_cast<char>(i * 13 % 256);
  Set(IDC_EMAIL_ATTACHMENT, dir.Write("周报 附件.xlsx", bytes));
  EXPECT_EQ("邮件发送器-Mirven电脑助手", dlg_->TitleText());
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(h_, IDC_EMAIL_PASSWORD), GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(2, SendDlgItemMessageW(h_, IDC_EMAIL_RECIPIENT_PROVIDER, CB_GETCOUNT, 0, 0));
  ClickSend();
  EXPECT_FALSE(IsWindowEnabled(SendButton()));
  ClickSend();  // a second press while sending does nothing
  EXPECT_EQ("发送成功", Outcome());
  EXPECT_TRUE(IsWindowEnabled(SendButton()));
  EXPECT_FALSE(dlg_->Sending());
  auto mails = nettest::Mails(peer_);
  ASSERT_EQ(1u, mails.size());
  // The server is the sender's provider's; the recipient keeps suffix 0.
  EXPECT_EQ("me@mirven.test", mails[0].from);
  EXPECT_EQ(std::vector<std::string>{"you@nowhere.test"}, mails[0].recipients);
  EXPECT_EQ("周报：第三季度", mails[0].Header("Subject"));
  EXPECT_EQ("邮件发送器-Mirven电脑助手", mails[0].Header("X-Mailer"));
  ASSERT_EQ(2u, mails[0].parts.size());
  EXPECT_EQ("各位好，\r\n周报见附件。", mails[0].parts[0].payload);
  EXPECT_EQ("周报 附件.xlsx", mails[0].parts[1].filename);
  EXPECT_TRUE(bytes == mails[0].parts[1].payload);
}

TEST_F(EmailSender, FailuresSayWhyInChinese) {
  nettest::TempDir dir;
  const std::string missing = dir.path() + "\\不存在.txt";
  Set(IDC_EMAIL_ATTACHMENT, missing);
  ClickSend();
  // Looked at on the worker, refused before any connection.
  EXPECT_EQ("发送失败：附件不存在或无法读取：" + missing, Outcome());
  EXPECT_TRUE(IsWindowEnabled(SendButton()));
  Set(IDC_EMAIL_ATTACHMENT, "");
  Set(IDC_EMAIL_RECIPIENT, " ");
  ClickSend();
  // A field alone is refused at once.
  ASSERT_EQ(1u, effects_.fake.messages.size());
  EXPECT_EQ("发送失败：请填写收件人账号", effects_.fake.messages[0].text);
  effects_.fake.messages.clear();
  EXPECT_EQ(0u, Logins());

  Set(IDC_EMAIL_RECIPIENT, "you");
  Set(IDC_EMAIL_PASSWORD, "login-password");
  ClickSend();
  std::string text = Outcome();
  EXPECT_EQ(0u, text.find("发送失败：账号或密码错误")) << text;
  EXPECT_NE(std::string::npos, text.find("授权码"));
  EXPECT_EQ(1u, Logins());
  EXPECT_TRUE(nettest::Mails(peer_).empty());
}

// A pipe that never writes, named as the attachment: the window keeps
// answering other threads while the send is refused.
TEST_F(EmailSender, APipeAsAttachmentNeverFreezesTheWindow) {
  const std::wstring name = L"\\\\.\\pipe\\mirven-mute-" + std::to_wstring(GetCurrentProcessId());
  HANDLE pipe =
      CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, pipe);
  Set(IDC_EMAIL_ATTACHMENT, base::Utf8(name));
  std::atomic<bool> done{false};
  std::atomic<int> slow{0};
  std::thread watcher([&] {
    while (!done) {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(h_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &result)) ++slow;
    }
  });
  ClickSend();
  EXPECT_EQ("发送失败：附件不是磁盘上的普通文件：" + base::Utf8(name), Outcome());
  done = true;
  watcher.join();
  CloseHandle(pipe);
  // A window frozen on the mute pipe would miss every probe until the end;
  // one late answer on a loaded machine is not a freeze.
  EXPECT_LE(slow.load(), 1);
  EXPECT_EQ(0u, Logins());
}

TEST_F(EmailSender, ClosingWhileSendingWaitsForNothing) {
  ClickSend();
  SendMessageW(h_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(h_); }, 2000));
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(h_); }, 30000));
  EXPECT_TRUE(effects_.fake.messages.empty());
  EXPECT_EQ(1u, nettest::Mails(peer_).size());
}

TEST(Screenshots, DISABLED_EmailSender) {
  EmailDlg* dlg = controls::MirvenDialog::Open<EmailDlg>("邮件发送器");
  ASSERT_NE(nullptr, dlg);
  HWND h = dlg->hwnd();
  SetDlgItemTextW(h, IDC_EMAIL_SENDER, L"zhangsan");
  SetDlgItemTextW(h, IDC_EMAIL_PASSWORD, L"abcdefgh");
  SetDlgItemTextW(h, IDC_EMAIL_RECIPIENT, L"lisi");
  SetDlgItemTextW(h, IDC_EMAIL_SUBJECT, base::Wide("本周工作总结").c_str());
  SetDlgItemTextW(h, IDC_EMAIL_ATTACHMENT,
                  base::Wide("C:\\Users\\zhangsan\\Documents\\周报.xlsx").c_str());
  SetDlgItemTextW(h, IDC_EMAIL_BODY,
                  base::Wide("李四你好：\r\n\r\n本周工作总结见附件，请查收。\r\n\r\n张三").c_str());
  SendDlgItemMessageW(h, IDC_EMAIL_RECIPIENT_PROVIDER, CB_SETCURSEL, 1, 0);
  SetWindowPos(h, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
  wintest::PumpUntil([] { return false; }, 500);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_TRUE(wintest::SaveScreen(r, "email-sender"));
  DestroyWindow(h);
}

}  // namespace
