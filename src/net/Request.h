#pragma once
// Minimal HTTP/1.0 client: one connection per call; the body is what the
// Content-Length announces or, without one, whatever follows the header
// until the server closes.
#include <cstddef>
#include <string>

#include "net/Stream.h"

namespace net {

// Every call has them; the defaults suit the program's own small fetches.
struct HttpLimits {
  Millis connect{5000};
  // Longest wait for the next bytes of the answer.
  Millis idle{10000};
  // The whole call, however slowly the bytes come.
  Millis total{15000};
  // Longest body taken; a longer one, or a longer announced one, fails the
  // call.
  size_t maxBody = 64 * 1024;
  // Set by another thread, it ends the call at once, as a failure.
  const StopFlag* stop = nullptr;
};

}  // namespace net

struct RequestResult {
  std::string request;  // exactly as sent
  std::string header;   // status line and header lines, up to the empty line
  std::string body;     // every byte after the header, NULs included
  int status = 0;       // from the status line; 0 when there is none
};

class Request {
 public:
  static constexpr size_t kMaxHost = 255;
  static constexpr size_t kMaxPath = 1023;
  static constexpr size_t kMaxScheme = 19;

  virtual ~Request() = default;

  // GET (post false) or form POST of `data`. On success `data` receives the
  // request as sent, `header` and `body` the answer (body up to its first
  // NUL); on failure (a limit passed included) all three stay as they
  // were. Nothing is thrown.
  static void SendRequest(bool post, const std::string& url, std::string& data, std::string& header,
                          std::string& body, int* status = nullptr) {
    SendRequest(net::SystemServices(), net::HttpLimits{}, post, url, data, header, body, status);
  }
  static void SendRequest(net::Services& services, const net::HttpLimits& limits, bool post,
                          const std::string& url, std::string& data, std::string& header,
                          std::string& body, int* status = nullptr);

  // 0 with `result` filled, 1 on failure; nothing is thrown.
  static int SendHTTP(const std::string& url, const char* extraHeader, const char* data,
                      size_t length, RequestResult& result) {
    return SendHTTP(net::SystemServices(), net::HttpLimits{}, url, extraHeader, data, length,
                    result);
  }
  static int SendHTTP(net::Services& services, const net::HttpLimits& limits,
                      const std::string& url, const char* extraHeader, const char* data,
                      size_t length, RequestResult& result);

  // Scheme and host come back upper-cased, the path as written. False when a
  // part is too long to be a valid address or the port is not 1..65535.
  static bool ParseURL(const std::string& url, std::string& scheme, std::string& host,
                       std::string& path, int& port);

  static bool SendString(net::Stream& stream, const std::string& text, net::Millis limit);

  // The request bytes SendHTTP writes for a parsed address.
  static std::string FormatRequest(const std::string& host, const std::string& path,
                                   const char* extraHeader, const char* data, size_t length);

 private:
  static int Transfer(net::Services& services, const net::HttpLimits& limits,
                      const std::string& url, const char* extraHeader, const char* data,
                      size_t length, RequestResult& result);
};
