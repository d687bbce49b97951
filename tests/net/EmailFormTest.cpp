// The sender window's rules without its window.
#include <gtest/gtest.h>

#include <set>

#include <sys/stat.h>

#include "net/EmailForm.h"
#include "net/Peers.h"

namespace {

// Files named by their size; "missing" cannot be opened, "locked" not read.
// Connections are counted and never made.
struct Files : nettest::NoNetwork {
  struct Sized : net::ByteSource {
    uint64_t size;
    bool readable;
    uint64_t Size() override { return size; }
    long long Read(char*, size_t) override { return readable ? 0 : -1; }
  };
  std::unique_ptr<net::ByteSource> OpenFile(const std::string& path) override {
    if (path == "missing") return nullptr;
    auto file = std::make_unique<Sized>();
    file->readable = path != "locked";
    file->size = file->readable ? std::stoull(path) : 0;
    return file;
  }
};

TEST(EmailForm, NineProvidersWithEncryptedPorts) {
  const auto& providers = net::MailProviders();
  ASSERT_EQ(9u, providers.size());
  const char* suffixes[] = {"@qq.com",      "@163.com",  "@126.com",  "@gmail.com", "@hotmail.com",
                            "@outlook.com", "@sohu.com", "@sina.com", "@139.com"};
  for (size_t i = 0; i < providers.size(); ++i) {
    EXPECT_EQ(suffixes[i], providers[i].suffix);
    EXPECT_FALSE(providers[i].host.empty());
    EXPECT_NE(CSmtp::Security::kPlain, providers[i].security) << providers[i].name;
    EXPECT_EQ(providers[i].security == CSmtp::Security::kImplicitTls ? 465 : 587,
              providers[i].port);
  }
}

TEST(EmailForm, RefusedBeforeConnecting) {
  Files files;
  net::EmailForm form;
  form.senderAccount = "me";
  form.recipientAccount = "you";
  const std::vector<std::pair<std::function<void(net::EmailForm&)>, std::string>> cases = {
      {[](net::EmailForm& f) { f.senderAccount = "  "; }, "发送失败：请填写发件人账号"},
      {[](net::EmailForm& f) { f.recipientAccount = ""; }, "发送失败：请填写收件人账号"},
      {[](net::EmailForm& f) { f.attachmentPath = "missing"; },
       "发送失败：附件不存在或无法读取：missing"},
      {[](net::EmailForm& f) { f.attachmentPath = "locked"; },
       "发送失败：附件不存在或无法读取：locked"},
      {[](net::EmailForm& f) { f.attachmentPath = "5243904"; },
       "发送失败：附件超过5MB的大小限制：5243904"},
      {[](net::EmailForm& f) { f.copyAddress = "a@b.c>\r\nRCPT TO:<x@y.z"; },
       "发送失败：抄送地址无效"},
      {[](net::EmailForm& f) { f.recipientAccount = "you there"; }, "发送失败：收件人地址无效"},
      {[](net::EmailForm& f) { f.recipientAccount = "you@x.com,evil@y.com"; },
       "发送失败：收件人地址无效"},
      {[](net::EmailForm& f) { f.senderAccount = "@"; }, "发送失败：发件人地址无效"},
      {[](net::EmailForm& f) { f.senderAccount = "you@"; }, "发送失败：发件人地址无效"},
      {[](net::EmailForm& f) { f.senderAccount = std::string(5000, 'a'); },
       "发送失败：发件人地址无效"},
      {[](net::EmailForm& f) { f.copyAddress = "boss@localhost"; }, "发送失败：抄送地址无效"},
      // Devices and pipes are refused by their names, before any open.
      {[](net::EmailForm& f) { f.attachmentPath = "COM1"; },
       "发送失败：附件不是磁盘上的普通文件：COM1"},
      {[](net::EmailForm& f) { f.attachmentPath = "\\\\.\\pipe\\mail"; },
       "发送失败：附件不是磁盘上的普通文件：\\\\.\\pipe\\mail"},
  };
  for (const auto& [change, message] : cases) {
    net::EmailForm bad = form;
    change(bad);
    net::SendOutcome outcome = net::SendEmail(bad, net::MailProviders(), files);
    EXPECT_FALSE(outcome.sent);
    EXPECT_FALSE(outcome.connected);
    EXPECT_EQ(message, outcome.message);
  }
  EXPECT_EQ(0, files.connects);
  // Exactly at the limit once cut to whole KiB, it may go.
  form.attachmentPath = "5243903";
  EXPECT_EQ("", net::CheckEmailForm(form, net::MailProviders(), files));
  net::SendOutcome outcome = net::SendEmail(form, net::MailProviders(), files);
  EXPECT_TRUE(outcome.connected);
  EXPECT_EQ(1, files.connects);
  EXPECT_EQ("发送失败：无法连接邮件服务器，请检查网络连接", outcome.message);
}

TEST(EmailForm, DevicesArePathsThatAreNeverOpened) {
  for (const char* device : {"COM1", "com9.txt", "C:\\dir\\lpt1.log", "D:/x/NUL  .txt", "aux:",
                             "c:con", "CONOUT$", "\\\\server\\share\\prn.doc.x", "\\\\.\\COM1",
                             "//./pipe/x", "\\\\?\\GLOBALROOT\\Device\\Null", "\\??\\C:\\a"})
    EXPECT_TRUE(net::IsDevicePath(device)) << device;
  for (const char* file :
       {"COM10", "com0", "console.txt", "C:\\nul\\a.txt", "LPT", "report.aux", "\\\\?\\C:\\a.txt"})
    EXPECT_FALSE(net::IsDevicePath(file)) << file;

  // A FIFO exists on disk yet is no regular file: it is refused without
  // waiting for a writer.
  nettest::TempDir dir;
  const std::string fifo = dir.path() + "/pipe";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  net::EmailForm form;
  form.senderAccount = "me";
  form.recipientAccount = "you";
  form.attachmentPath = fifo;
  EXPECT_EQ("附件不是磁盘上的普通文件：" + fifo,
            net::CheckEmailForm(form, net::MailProviders(), net::SystemServices()));
  EXPECT_EQ("", net::CheckEmailFields(form, net::MailProviders()));
}

TEST(EmailForm, AddressesAndReasons) {
  EXPECT_EQ("me@qq.com", net::FullAddress(" me ", "@qq.com"));
  EXPECT_EQ("me@corp.example", net::FullAddress("me@corp.example", "@qq.com"));
  const std::string hint = net::SendFailureReason(CSmtp::kPasswordRefused);
  EXPECT_NE(std::string::npos, hint.find("授权码"));
  EXPECT_EQ(hint, net::SendFailureReason(CSmtp::kLoginRefused));
  // Every code the client records has words of its own, and no two
  // different situations share them by accident.
  std::set<std::string> seen;
  for (int code : {100, 102, 103, 106, 108, 109, 110, 201, 206, 301,
                   302, 303, 304, 307, 308, 400, 402, 403, 404, 406}) {
    std::string reason = net::SendFailureReason(code);
    EXPECT_EQ(std::string::npos, reason.find("错误代码")) << code;
    seen.insert(reason);
  }
  EXPECT_EQ(20u, seen.size());
  EXPECT_EQ("错误代码 999", net::SendFailureReason(999));
}

}  // namespace
