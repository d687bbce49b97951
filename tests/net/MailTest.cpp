#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "net/Base64.h"
#include "net/MailMessage.h"
#include "net/Peers.h"
#include "net/SmtpReply.h"

namespace {

struct ScriptedStream : net::Stream {
  std::deque<std::string> chunks;
  std::string sent;
  net::IoStatus SendAll(const char* data, size_t size, net::Millis) override {
    sent.append(data, size);
    return net::IoStatus::kOk;
  }
  net::IoResult Receive(char* buffer, size_t capacity, net::Millis) override {
    if (chunks.empty()) return {net::IoStatus::kClosed, 0};
    std::string& front = chunks.front();
    size_t n = std::min(capacity, front.size());
    front.copy(buffer, n);
    front.erase(0, n);
    if (front.empty()) chunks.pop_front();
    return {net::IoStatus::kOk, n};
  }
  void Close() override {}
};

// Files made of a repeated byte, of any size, without memory to match.
struct PatternFile : net::ByteSource {
  uint64_t size, left;
  explicit PatternFile(uint64_t n) : size(n), left(n) {}
  uint64_t Size() override { return size; }
  long long Read(char* buffer, size_t capacity) override {
    size_t n = static_cast<size_t>(std::min<uint64_t>(capacity, left));
    std::fill(buffer, buffer + n, 'z');
    left -= n;
    return static_cast<long long>(n);
  }
};

struct PatternFiles : net::Services {
  net::SocketStart StartSockets() override { return net::SocketStart::kOk; }
  std::unique_ptr<net::Stream> Connect(const std::string&, uint16_t, net::Resolve, net::Millis,
                                       const net::StopFlag*) override {
    return nullptr;
  }
  std::string LocalHostName() override { return {}; }
  // The path is the size; "missing" cannot be opened, "shrinks" measures
  // 100 bytes and then holds 60.
  std::unique_ptr<net::ByteSource> OpenFile(const std::string& path) override {
    if (path == "missing") return nullptr;
    if (path == "shrinks") {
      auto file = std::make_unique<PatternFile>(100);
      file->left = 60;
      return file;
    }
    return std::make_unique<PatternFile>(std::stoull(path.substr(path.rfind('\\') + 1)));
  }
};

struct KeepingSink : net::TextSink {
  std::string text;
  size_t total = 0;
  bool Write(std::string_view piece) override {
    total += piece.size();
    if (text.size() < 100000) text.append(piece.substr(0, 100000));
    return true;
  }
};

net::MailContent AsciiMail() {
  net::MailContent mail;
  mail.senderAddress = "me@example.com";
  mail.subject = "Hello";
  mail.body = "Line one\r\nLine two";
  mail.mailer = "Mailer 1";
  mail.priority = 2;
  mail.to = {{"", "a@example.com"}, {"", "b@example.com"}};
  mail.cc = {{"", "c@example.com"}};
  mail.date = 1417856703;
  mail.messageId = "<1.2@example.com>";
  return mail;
}

TEST(MailText, Base64AndDates) {
  const char* vectors[][2] = {{"", ""},
                              {"f", "Zg=="},
                              {"fo", "Zm8="},
                              {"foo", "Zm9v"},
                              {"foob", "Zm9vYg=="},
                              {"fooba", "Zm9vYmE="},
                              {"foobar", "Zm9vYmFy"}};
  for (auto& v : vectors) EXPECT_EQ(v[1], net::Base64Encode(v[0]));
  EXPECT_EQ("AP/+", net::Base64Encode(std::string("\0\xff\xfe", 3)));
  EXPECT_EQ("Sat, 06 Dec 2014 09:05:03 +0000", net::FormatMailDate(1417856703));
  EXPECT_EQ("Thu, 01 Jan 1970 00:00:00 +0000", net::FormatMailDate(0));
  EXPECT_EQ("Tue, 29 Feb 2000 23:59:59 +0000", net::FormatMailDate(951868799));
}

TEST(MailText, HeaderTextIsPlainOrEncodedWords) {
  EXPECT_EQ("Plain subject", net::EncodeHeaderText("Plain subject"));
  std::string chinese;
  for (int i = 0; i < 40; ++i) chinese += "测试邮件";
  std::string encoded = net::EncodeHeaderText(chinese);
  std::string decoded;
  size_t pos = 0;
  while ((pos = encoded.find("=?UTF-8?B?", pos)) != std::string::npos) {
    size_t end = encoded.find("?=", pos + 10);
    EXPECT_LE(end + 2 - pos, 75u);
    std::string word = nettest::Decode(encoded.substr(pos + 10, end - pos - 10));
    EXPECT_EQ(0u, word.size() % 3) << "a character was split between words";
    decoded += word;
    pos = end;
  }
  EXPECT_EQ(chinese, decoded);
  // A line break in a text can not start a header line of its own.
  std::string injected = net::EncodeHeaderText("Hi\r\nBcc: x@example.com");
  EXPECT_EQ(std::string::npos, injected.find("\r\nB"));
  EXPECT_EQ(0u, injected.find("=?UTF-8?B?"));
}

TEST(MailText, AsciiHeaderBlockKeepsItsLines) {
  net::MailContent mail = AsciiMail();
  int error = 0;
  EXPECT_EQ(
      "Date: Sat, 06 Dec 2014 09:05:03 +0000\r\n"
      "Message-ID: <1.2@example.com>\r\n"
      "From:  <me@example.com>\r\n"
      "X-Mailer: Mailer 1\r\n"
      "X-Priority: 2 (High)\r\n"
      "To: <a@example.com>,<b@example.com>\r\n"
      "Cc: <c@example.com>\r\n"
      "Subject: Hello\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-type: text/plain; charset=US-ASCII\r\n"
      "Content-Transfer-Encoding: 7bit\r\n\r\n",
      net::HeaderBlock(mail, error));
  // A mailer text that is set but empty still gives its line; none gives none.
  mail.mailer = "";
  EXPECT_NE(std::string::npos, net::HeaderBlock(mail, error).find("\r\nX-Mailer: \r\n"));
  mail.mailer.reset();
  EXPECT_EQ(std::string::npos, net::HeaderBlock(mail, error).find("X-Mailer"));
  // Reply-To goes through the same encoder: a line break cannot add a header.
  mail.replyTo = "r@example.com\r\nBcc: spy@example.com";
  EXPECT_EQ(std::string::npos, net::HeaderBlock(mail, error).find("\nBcc:"));
  mail.replyTo = "r@example.com";
  EXPECT_NE(std::string::npos,
            net::HeaderBlock(mail, error).find("\r\nReply-To: r@example.com\r\n"));
  EXPECT_EQ(0, error);
  mail.subject.reset();
  mail.attachments = {"x"};
  mail.priority = 7;
  std::string block = net::HeaderBlock(mail, error);
  EXPECT_EQ(202, error);
  EXPECT_NE(std::string::npos, block.find("X-Priority: 3 (Normal)\r\n"));
  EXPECT_NE(
      std::string::npos,
      block.find("Subject:  \r\nMIME-Version: 1.0\r\n"
                 "Content-Type: multipart/mixed; boundary=\"__MESSAGE__ID__54yg6f6h6y456345\"\r\n"
                 "\r\n--__MESSAGE__ID__54yg6f6h6y456345\r\n"
                 "Content-type: text/plain; charset=US-ASCII\r\n"
                 "Content-Transfer-Encoding: 7bit\r\n\r\n"));
  EXPECT_EQ("a\r\nb\r\nc\r\n\r\n", net::BodyPiece("a\nb\rc\r\n"));
}

TEST(MailText, AttachmentPartsAndNames) {
  EXPECT_EQ("a.txt", net::AttachmentName("C:\\dir\\a.txt"));
  EXPECT_EQ("a.txt", net::AttachmentName("/tmp/dir/a.txt"));
  EXPECT_EQ("a.txt", net::AttachmentName("a.txt"));
  EXPECT_EQ(
      "--__MESSAGE__ID__54yg6f6h6y456345\r\n"
      "Content-Type: application/x-msdownload; name=\"a.txt\"\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "Content-Disposition: attachment; filename=\"a.txt\"\r\n\r\n",
      net::AttachmentPartHeader("a.txt"));
  std::string part = net::AttachmentPartHeader("报告.txt");
  EXPECT_NE(std::string::npos, part.find("filename*=UTF-8''%E6%8A%A5%E5%91%8A.txt\r\n"));
  EXPECT_NE(std::string::npos, part.find("name=\"=?UTF-8?B?5oql5ZGKLnR4dA==?=\""));
}

TEST(MailText, AttachmentsStreamInLinesAndObeyTheLimit) {
  PatternFiles files;
  net::MailContent mail = AsciiMail();
  auto compose = [&](std::vector<std::string> paths) {
    mail.attachments = std::move(paths);
    KeepingSink sink;
    net::ComposeResult result = net::WriteMessage(mail, files, sink);
    EXPECT_TRUE(result.written);
    return std::make_pair(result.error, sink);
  };
  const std::string z54 = net::Base64Encode(std::string(54, 'z'));
  auto [error, sink] = compose({"C:\\f\\54", "1", "0"});
  EXPECT_EQ(0, error);
  EXPECT_NE(std::string::npos, sink.text.find("filename=\"54\"\r\n\r\n" + z54 + "\r\n\r\n--"));
  EXPECT_NE(std::string::npos, sink.text.find("filename=\"1\"\r\n\r\neg==\r\n--"));
  EXPECT_NE(
      std::string::npos,
      sink.text.find("filename=\"0\"\r\n\r\n\r\n\r\n--__MESSAGE__ID__54yg6f6h6y456345--\r\n"));

  // The running total, cut to whole KiB, may reach 5 MiB but not pass it.
  auto [fits, fitsSink] = compose({"5243903"});
  EXPECT_EQ(0, fits);
  auto [over, overSink] = compose({"5243903", "1", "2"});
  EXPECT_EQ(403, over);
  EXPECT_EQ(fitsSink.total + net::AttachmentPartHeader("1").size() +
                net::AttachmentPartHeader("2").size(),
            overSink.total)
      << "parts over the limit are empty";
  EXPECT_EQ(402, compose({"3", "missing", "4"}).first);

  // Fewer bytes than measured: the message is left unfinished.
  mail.attachments = {"shrinks"};
  KeepingSink cut;
  net::ComposeResult shrunk = net::WriteMessage(mail, files, cut);
  EXPECT_FALSE(shrunk.written);
  EXPECT_EQ(402, shrunk.error);
}

TEST(MailText, RepliesAreReadWholeAndDataIsDotStuffed) {
  ScriptedStream stream;
  stream.chunks = {"2", "50-first\r\n250-sec", "ond\r\n250 last\r\n22", "0 next\r\n", "bad"};
  net::ReplyReader reader;
  int code = 0;
  std::string text;
  ASSERT_EQ(net::ReplyStatus::kOk, reader.Read(stream, net::Millis(1000), code, text));
  EXPECT_EQ(250, code);
  EXPECT_EQ("250-first\r\n250-second\r\n250 last\r\n", text);
  ASSERT_EQ(net::ReplyStatus::kOk, reader.Read(stream, net::Millis(1000), code, text));
  EXPECT_EQ(220, code);
  EXPECT_EQ(net::ReplyStatus::kClosed, reader.Read(stream, net::Millis(1000), code, text));

  net::DataWriter writer(stream, net::Millis(1000));
  for (const char* piece : {".first\r\n", "a.b\r", "\n.", "\r\n..x\r\n"})
    ASSERT_TRUE(writer.Write(piece, std::strlen(piece)));
  ASSERT_TRUE(writer.Finish());
  EXPECT_EQ("..first\r\na.b\r\n..\r\n...x\r\n\r\n.\r\n", stream.sent);
}

}  // namespace
