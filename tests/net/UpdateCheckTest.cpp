#include "net/UpdateCheck.h"

#include <gtest/gtest.h>

#include "net/Peers.h"

namespace {

using update::Outcome;

net::TextAnswer Ok(const std::string& body, int status = 200) { return {true, status, body}; }

TEST(UpdateDecision, TrimmedTextComparedExactly) {
  EXPECT_EQ(Outcome::kSame, update::Decide(Ok("3.0"), "3.0").outcome);
  EXPECT_EQ(Outcome::kSame, update::Decide(Ok(" \t3.0\r\n"), "3.0").outcome);
  for (const char* other : {"3.1", "2.9", "3.00", "3.0a", "3.1-rc2", "10.0.19045"}) {
    update::Decision d = update::Decide(Ok(std::string(other) + "\r\n"), "3.0");
    EXPECT_EQ(Outcome::kNewer, d.outcome) << other;
    EXPECT_EQ(other, d.version);
  }
  EXPECT_EQ("有新版本 V3.1 啦", update::NewVersionLine("3.1"));
  std::string v32(32, '9');
  EXPECT_EQ(v32, update::Decide(Ok(v32), "3.0").version);
}

TEST(UpdateDecision, OnlyAShortLineInA200IsAnAnswer) {
  const net::TextAnswer failed[] = {
      net::TextAnswer{},                          // no connection
      Ok("3.1", 404),                             // another status
      Ok("3.1", 0),                               // no status line
      Ok("<html><body>Not Found</body></html>"),  // a page, even on 200
      Ok("<h1>3.1"),
      Ok("3.1\r\n3.2"),          // two lines
      Ok(std::string(33, '9')),  // too long for a version
      Ok(std::string("3.1\0x", 5)),
      Ok("   \r\n"),
      Ok("3.1\x7f"),
      // Not a version: a captive portal's words, a version in a sentence.
      Ok("Please log in to WiFi"),
      Ok("default"),
      Ok("V3.1"),
      Ok("3..1"),
      Ok("3.1 beta"),
      Ok("3.1-"),
      Ok("3.1-release2026"),
  };
  for (const net::TextAnswer& a : failed) {
    update::Decision d = update::Decide(a, "3.0");
    EXPECT_EQ(Outcome::kFailed, d.outcome) << a.status << " " << a.body;
    EXPECT_EQ("", d.version);
  }
}

// The fetch against real servers: the file server's 404 for a missing file,
// and an endless answer cut off instead of kept.
TEST(UpdatePeers, FetchTakesOnlySmallAnswers) {
  nettest::TempDir dir;
  dir.Write("version.txt", "3.1\r\n");
  nettest::Peer files = nettest::Start("http " + nettest::Encode(dir.PeerPath()));
  ASSERT_NE(0, files.port) << nettest::Problem();
  const std::string base = "http://127.0.0.1:" + std::to_string(files.port);
  net::TextAnswer found = net::FetchText(net::SystemServices(), base + "/version.txt");
  EXPECT_EQ("3.1", update::Decide(found, "3.0").version);
  net::TextAnswer missing = net::FetchText(net::SystemServices(), base + "/windows/version.txt");
  EXPECT_TRUE(missing.ok);
  EXPECT_EQ(404, missing.status);
  EXPECT_EQ(Outcome::kFailed, update::Decide(missing, "3.0").outcome);
  nettest::Stop(files);

  nettest::Peer big =
      nettest::Start("httpfault reply " +
                     nettest::Encode("HTTP/1.0 200 OK\r\n\r\n3.1" + std::string(200000, ' ')));
  ASSERT_NE(0, big.port) << nettest::Problem();
  net::TextAnswer huge =
      net::FetchText(net::SystemServices(), "http://127.0.0.1:" + std::to_string(big.port) + "/");
  EXPECT_FALSE(huge.ok);
  nettest::Stop(big);
}

}  // namespace
