#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "net/Peers.h"
#include "net/Request.h"
#include "net/Server.h"

namespace {

using namespace std::chrono_literals;
using nettest::Encode;

// Room for the large bodies of these tests; the program's own calls keep the defaults.
net::HttpLimits Roomy() {
  net::HttpLimits limits;
  limits.maxBody = 1 << 20;
  return limits;
}

std::string Url(const nettest::Peer& peer, const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(peer.port) + path;
}

const std::string kFixedLines =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/vnd.ms-excel, "
    "application/msword, application/vnd.ms-powerpoint, */*\r\n"
    "Accept-Language: en-us\r\n"
    "Accept-Encoding: identity\r\n"
    "User-Agent: Mozilla/4.0\r\n";

TEST(HttpClient, ParseUrlSplitsAndBoundsEveryPart) {
  std::string scheme, host, path;
  int port = 0;
  ASSERT_TRUE(Request::ParseURL("http://www.example.com/windows/Version.txt?a=B", scheme, host,
                                path, port));
  EXPECT_EQ("HTTP", scheme);
  EXPECT_EQ("WWW.EXAMPLE.COM", host);
  EXPECT_EQ("/windows/Version.txt?a=B", path);
  EXPECT_EQ(80, port);
  ASSERT_TRUE(Request::ParseURL("HTTP://host-1.example:8080", scheme, host, path, port));
  EXPECT_EQ("HOST-1.EXAMPLE", host);
  EXPECT_EQ("", path);
  EXPECT_EQ(8080, port);
  ASSERT_TRUE(Request::ParseURL("example.com/x", scheme, host, path, port));
  EXPECT_EQ("HTTP", scheme);
  EXPECT_EQ("EXAMPLE.COM", host);

  // Limits fail instead of truncating; a bad port or a blank in the path fails.
  EXPECT_TRUE(Request::ParseURL("http://" + std::string(255, 'h') + "/", scheme, host, path, port));
  EXPECT_FALSE(
      Request::ParseURL("http://" + std::string(256, 'h') + "/", scheme, host, path, port));
  EXPECT_TRUE(Request::ParseURL("http://h/" + std::string(1022, 'p'), scheme, host, path, port));
  EXPECT_FALSE(Request::ParseURL("http://h/" + std::string(1023, 'p'), scheme, host, path, port));
  for (const char* bad :
       {"http://h:0/", "http://h:65536/", "http://h:/", "http://h/a b", "http://h/a\r\nX: y"})
    EXPECT_FALSE(Request::ParseURL(bad, scheme, host, path, port)) << bad;
}

TEST(HttpClient, RequestBytesAreExact) {
  EXPECT_EQ("GET /windows/version.txt HTTP/1.0\r\n" + kFixedLines + "Host: WWW.EXAMPLE.COM\r\n\r\n",
            Request::FormatRequest("WWW.EXAMPLE.COM", "/windows/version.txt", nullptr, nullptr, 0));
  const char* form = "Content-Type: application/x-www-form-urlencoded\r\n";
  EXPECT_EQ(
      "POST / HTTP/1.0\r\n" + kFixedLines + "Content-Length: 5\r\nHost: H\r\n" + form + "\r\na=b&c",
      Request::FormatRequest("H", "", form, "a=b&c", 5));
}

TEST(HttpClient, RefusedAddressesLeaveOutputsUntouched) {
  nettest::NoNetwork none;
  for (const char* url : {"ftp://example.com/file",
                          "http://h/"
                          "\x01"}) {
    std::string data = "in", header = "h", body = "default";
    Request::SendRequest(none, {}, false, url, data, header, body);
    EXPECT_EQ("in", data);
    EXPECT_EQ("h", header);
    EXPECT_EQ("default", body);
  }
  EXPECT_EQ(0, none.connects);
}

TEST(HttpClient, MakerServerFollowsEnvironment) {
#ifdef _WIN32
  _putenv_s("MIRVEN_SERVER", "http://127.0.0.1:18080/");
#else
  setenv("MIRVEN_SERVER", "http://127.0.0.1:18080/", 1);
#endif
  EXPECT_EQ("http://127.0.0.1:18080", net::MakerServer());
}

class HttpPeers : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(nettest::Call("stop 0").empty()) << nettest::Problem(); }
  nettest::Peer Script(const std::string& mode, const std::string& response) {
    nettest::Peer peer = nettest::Start("httpfault " + mode + " " + Encode(response));
    EXPECT_NE(0, peer.port) << nettest::Problem();
    peers_.push_back(peer);
    return peer;
  }
  void TearDown() override {
    for (auto& peer : peers_) nettest::Stop(peer);
  }
  std::vector<nettest::Peer> peers_;
};

TEST_F(HttpPeers, RealServerDeliversFileWhole) {
  nettest::TempDir dir;
  std::string bytes;
  for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7 % 256);
  dir.Write("data.bin", bytes);
  dir.Write("version.txt", "3.1\n");
  nettest::Peer peer = nettest::Start("http " + Encode(dir.PeerPath()));
  peers_.push_back(peer);
  RequestResult result;
  ASSERT_EQ(0, Request::SendHTTP(net::SystemServices(), Roomy(), Url(peer, "/data.bin"), nullptr,
                                 nullptr, 0, result));
  EXPECT_EQ(200, result.status);
  EXPECT_EQ(bytes, result.body);
  std::string data, header, body = "default";
  int status = 0;
  Request::SendRequest(false, Url(peer, "/version.txt"), data, header, body, &status);
  EXPECT_EQ("3.1\n", body);
  EXPECT_EQ(200, status);
  EXPECT_EQ(0u, header.find("HTTP/1.0 200"));
}

TEST_F(HttpPeers, ScriptedAnswersArriveAsSent) {
  // A 404 page is an answer: success, with its status and body.
  const std::string page = "HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n<h1>gone</h1>";
  nettest::Peer missing = Script("reply", page);
  RequestResult result;
  ASSERT_EQ(0,
            Request::SendHTTP(Url(missing, "/windows/version.txt"), nullptr, nullptr, 0, result));
  EXPECT_EQ(404, result.status);
  EXPECT_EQ("HTTP/1.0 404 Not Found\r\nContent-Type: text/html\r\n\r\n", result.header);
  EXPECT_EQ("<h1>gone</h1>", result.body);
  EXPECT_EQ("GET /windows/version.txt HTTP/1.0\r\n" + kFixedLines + "Host: 127.0.0.1\r\n\r\n",
            nettest::Log(missing));
  EXPECT_EQ(nettest::Log(missing), result.request);

  // A body with NULs larger than any buffer, after a POST.
  std::string big;
  for (int i = 0; i < 100000; ++i) big += static_cast<char>(i % 251 == 0 ? 0 : 'a' + i % 26);
  nettest::Peer large = Script("reply", "HTTP/1.0 200 OK\r\n\r\n" + big);
  std::string data = "a=b&c", header, body = "default";
  ASSERT_EQ(0, Request::SendHTTP(net::SystemServices(), Roomy(), Url(large, "/form"), "X: y\r\n",
                                 "a=b&c", 5, result));
  EXPECT_EQ(big, result.body);
  EXPECT_EQ(100000u, result.body.size());
  Request::SendRequest(net::SystemServices(), Roomy(), true, Url(large, "/form"), data, header,
                       body);
  EXPECT_EQ("", body) << "the text body ends at the first NUL";
  const std::string log = nettest::Log(large);
  EXPECT_EQ(data, log.substr(log.size() - data.size()));
  EXPECT_NE(std::string::npos,
            data.find("Content-Length: 5\r\nHost: 127.0.0.1\r\n"
                      "Content-Type: application/x-www-form-urlencoded\r\n\r\na=b&c"));

  // Closed in the middle of the header: success with what came.
  nettest::Peer cut = Script("reply", "HTTP/1.0 200 OK\r\nContent-Ty");
  ASSERT_EQ(0, Request::SendHTTP(Url(cut, ""), nullptr, nullptr, 0, result));
  EXPECT_EQ("HTTP/1.0 200 OK\r\nContent-Ty", result.header);
  EXPECT_EQ("", result.body);
  EXPECT_EQ(0u, nettest::Log(cut).find("GET / HTTP/1.0\r\n"));
}

TEST_F(HttpPeers, PortInAddressIsUsedButNotSentInHost) {
  nettest::Peer fixed =
      nettest::Start("httpfault reply " + Encode("HTTP/1.0 200 OK\r\n\r\nok") + " 8080");
  if (fixed.port == 0) GTEST_SKIP() << "port 8080 is taken on this machine";
  peers_.push_back(fixed);
  RequestResult result;
  ASSERT_EQ(0, Request::SendHTTP("http://127.0.0.1:8080", nullptr, nullptr, 0, result));
  EXPECT_EQ("ok", result.body);
  EXPECT_EQ("GET / HTTP/1.0\r\n" + kFixedLines + "Host: 127.0.0.1\r\n\r\n", nettest::Log(fixed));
}

TEST_F(HttpPeers, StalledOrUnreachableServersFailWithinLimits) {
  const net::HttpLimits limits{300ms, 300ms};
  nettest::Peer silent = Script("stall", "");
  nettest::Peer midway = Script("stallafter", "HTTP/1.0 200 OK\r\n\r\npartial");
  nettest::Peer hole = nettest::Start("blackhole");
  peers_.push_back(hole);
  nettest::Peer closed = Script("reply", "");
  nettest::Stop(closed);
  for (const auto& peer : {silent, midway, hole, closed}) {
    std::string data, header = "h", body = "default";
    auto start = std::chrono::steady_clock::now();
    Request::SendRequest(net::SystemServices(), limits, false, Url(peer, "/x"), data, header, body);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << peer.port;
    EXPECT_EQ("default", body);
    EXPECT_EQ("h", header);
  }
  EXPECT_EQ(5000ms, net::HttpLimits{}.connect);
  EXPECT_EQ(10000ms, net::HttpLimits{}.idle);
}

TEST_F(HttpPeers, ContentLengthEndsTheBodyAndStatusIsThreeDigits) {
  const net::HttpLimits limits{1000ms, 5000ms};
  // A keep-alive server that stays open after its whole answer.
  nettest::Peer open = Script("stallafter", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n3.1");
  nettest::Peer longer = Script("reply", "HTTP/1.0 200 OK\r\ncontent-length:3\r\n\r\n3.1junk");
  for (const auto& peer : {open, longer}) {
    RequestResult result;
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(0, Request::SendHTTP(net::SystemServices(), limits, Url(peer, "/"), nullptr, nullptr,
                                   0, result));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ("3.1", result.body);
  }
  // Short of its length, a length past the limit, or a length that is no
  // number: no answer.
  for (const char* head : {"Content-Length: 10\r\n\r\n3.1", "Content-Length: 999999999\r\n\r\n",
                           "Content-Length: 3x\r\n\r\n3.1"}) {
    nettest::Peer peer = Script("reply", std::string("HTTP/1.0 200 OK\r\n") + head);
    RequestResult result;
    EXPECT_EQ(1, Request::SendHTTP(net::SystemServices(), limits, Url(peer, "/"), nullptr, nullptr,
                                   0, result))
        << head;
  }
  for (const char* line : {"HTTP/1.0 2000 OK", "HTTP/1.0 20 OK", "HTTP/1.0 2x0 OK"}) {
    nettest::Peer peer = Script("reply", std::string(line) + "\r\n\r\n3.1");
    RequestResult result;
    ASSERT_EQ(0, Request::SendHTTP(net::SystemServices(), limits, Url(peer, "/"), nullptr, nullptr,
                                   0, result));
    EXPECT_EQ(0, result.status) << line;
  }
}

// Another thread's stop ends every wait at once: a connect that is never
// answered, a server that says nothing, one that trickles.
TEST_F(HttpPeers, AStopRequestEndsTheCallAtOnce) {
  nettest::Peer hole = nettest::Start("blackhole");
  peers_.push_back(hole);
  nettest::Peer silent = Script("stall", "");
  nettest::Peer trickle = Script("trickle:100", "HTTP/1.0 200 OK\r\n\r\n");
  for (const auto& peer : {hole, silent, trickle}) {
    net::StopFlag stop{false};
    net::HttpLimits limits;
    limits.stop = &stop;
    auto start = std::chrono::steady_clock::now();
    std::thread stopper([&] {
      std::this_thread::sleep_for(300ms);  // the stopping side, not a wait for a result
      stop = true;
    });
    RequestResult result;
    EXPECT_EQ(1, Request::SendHTTP(net::SystemServices(), limits, Url(peer, "/"), nullptr, nullptr,
                                   0, result));
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << peer.port;
  }
}

TEST_F(HttpPeers, EndlessOrTricklingBodiesFailWithinTheirLimits) {
  const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
  // A byte every 0.3 s never trips the 1 s wait for the next bytes; only
  // the deadline of the whole call ends it (the 9 s trickle against 10 s).
  net::HttpLimits limits{1000ms, 1000ms, 2000ms, 256 * 1024};
  nettest::Peer endless = Script("endless", head);
  nettest::Peer trickle = Script("trickle:300", head + "3.1");
  for (const auto& peer : {endless, trickle}) {
    std::string data = "in", header = "h", body = "default";
    auto start = std::chrono::steady_clock::now();
    Request::SendRequest(net::SystemServices(), limits, false, Url(peer, "/v"), data, header, body);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << peer.port;
    EXPECT_EQ("in", data);
    EXPECT_EQ("h", header);
    EXPECT_EQ("default", body);
  }
  // Exactly the limit still arrives.
  nettest::Peer full = Script("reply", "HTTP/1.0 200 OK\r\n\r\n" + std::string(1000, 'x'));
  limits.maxBody = 1000;
  RequestResult result;
  EXPECT_EQ(0, Request::SendHTTP(net::SystemServices(), limits, Url(full, "/"), nullptr, nullptr, 0,
                                 result));
  EXPECT_EQ(1000u, result.body.size());
  EXPECT_EQ(15000ms, net::HttpLimits{}.total);
  EXPECT_EQ(64u * 1024, net::HttpLimits{}.maxBody);
}

}  // namespace
