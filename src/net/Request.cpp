#include "net/Request.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kMaxHeaderBytes = 64 * 1024;
constexpr size_t kReceiveChunk = 16 * 1024;
using Clock = std::chrono::steady_clock;

bool IsHostChar(unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == ':'; }

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// "HTTP/1.x NNN ..." gives NNN: exactly three digits, then a blank or the
// line's end; anything else 0.
int StatusOf(const std::string& header) {
  if (header.compare(0, 5, "HTTP/") != 0) return 0;
  size_t space = header.find(' ');
  if (space == std::string::npos || space + 4 > header.size()) return 0;
  int code = 0;
  for (size_t i = space + 1; i < space + 4; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(header[i]))) return 0;
    code = code * 10 + (header[i] - '0');
  }
  if (space + 4 < header.size() &&
      std::string_view(" \r\n").find(header[space + 4]) == std::string_view::npos)
    return 0;
  return code;
}

// The announced body length: -1 when there is none, -2 when it is not a
// plain decimal number (or two lines disagree).
long long ContentLength(const std::string& header) {
  long long length = -1;
  size_t pos = 0;
  while ((pos = header.find('\n', pos)) != std::string::npos) {
    ++pos;
    static const char kName[] = "content-length:";
    if (header.size() - pos < sizeof kName - 1) break;
    bool match = true;
    for (size_t i = 0; match && i < sizeof kName - 1; ++i)
      match = std::tolower(static_cast<unsigned char>(header[pos + i])) == kName[i];
    if (!match) continue;
    size_t i = pos + sizeof kName - 1;
    while (i < header.size() && (header[i] == ' ' || header[i] == '\t')) ++i;
    long long value = 0;
    size_t digits = 0;
    for (; i < header.size() && std::isdigit(static_cast<unsigned char>(header[i]));
         ++i, ++digits) {
      if (value > (1LL << 50)) return -2;
      value = value * 10 + (header[i] - '0');
    }
    while (i < header.size() && (header[i] == ' ' || header[i] == '\t' || header[i] == '\r')) ++i;
    if (digits == 0 || (i < header.size() && header[i] != '\n')) return -2;
    if (length >= 0 && length != value) return -2;
    length = value;
  }
  return length;
}

}  // namespace

bool Request::ParseURL(const std::string& url, std::string& scheme, std::string& host,
                       std::string& path, int& port) {
  scheme.clear();
  host.clear();
  path.clear();
  port = 80;
  const std::string upper = Upper(url);
  size_t pos = 0;
  size_t colon = upper.find(':');
  if (colon != std::string::npos) {
    scheme = upper.substr(0, colon);
    pos = colon + 1;
  } else {
    scheme = "HTTP";
  }
  if (upper.compare(pos, 2, "//") == 0) pos += 2;
  size_t end = pos;
  while (end < upper.size() && IsHostChar(static_cast<unsigned char>(upper[end]))) ++end;
  host = upper.substr(pos, end - pos);
  path = url.substr(end);
  size_t portColon = host.find(':');
  if (portColon != std::string::npos) {
    long value = 0;
    size_t i = portColon + 1;
    while (i < host.size() && std::isdigit(static_cast<unsigned char>(host[i])) && value <= 65535)
      value = value * 10 + (host[i++] - '0');
    host.erase(portColon);
    if (value < 1 || value > 65535) return false;
    port = static_cast<int>(value);
  }
  if (scheme.size() > kMaxScheme || host.size() > kMaxHost || path.size() > kMaxPath) return false;
  // A blank or control byte in the path would split or corrupt the request.
  for (unsigned char c : path)
    if (c <= ' ' || c == 0x7F) return false;
  return true;
}

bool Request::SendString(net::Stream& stream, const std::string& text, net::Millis limit) {
  return stream.SendAll(text.data(), text.size(), limit) == net::IoStatus::kOk;
}

std::string Request::FormatRequest(const std::string& host, const std::string& path,
                                   const char* extraHeader, const char* data, size_t length) {
  std::string out;
  out += data != nullptr ? "POST " : "GET ";
  out += path.empty() ? "/" : path;
  out += " HTTP/1.0\r\n";
  out +=
      "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/vnd.ms-excel, "
      "application/msword, application/vnd.ms-powerpoint, */*\r\n";
  out += "Accept-Language: en-us\r\n";
  // The body is never decoded, so nothing compressed may be invited.
  out += "Accept-Encoding: identity\r\n";
  out += "User-Agent: Mozilla/4.0\r\n";
  if (length != 0) out += "Content-Length: " + std::to_string(length) + "\r\n";
  out += "Host: " + host + "\r\n";
  if (extraHeader != nullptr) out += extraHeader;
  out += "\r\n";
  if (data != nullptr && length != 0) out.append(data, length);
  return out;
}

int Request::SendHTTP(net::Services& services, const net::HttpLimits& limits,
                      const std::string& url, const char* extraHeader, const char* data,
                      size_t length, RequestResult& result) {
  try {
    return Transfer(services, limits, url, extraHeader, data, length, result);
  } catch (...) {
    return 1;
  }
}

int Request::Transfer(net::Services& services, const net::HttpLimits& limits,
                      const std::string& url, const char* extraHeader, const char* data,
                      size_t length, RequestResult& result) {
  const auto deadline = Clock::now() + limits.total;
  // The wait allowed now: the limit of one step, cut to what is left of the call.
  auto within = [&deadline](net::Millis step) {
    auto left = std::chrono::duration_cast<net::Millis>(deadline - Clock::now());
    return std::min(step, left);
  };
  std::string scheme, host, path;
  int port = 80;
  if (!ParseURL(url, scheme, host, path, port) || scheme != "HTTP") return 1;
  if (services.StartSockets() != net::SocketStart::kOk) return 1;
  auto stream = services.Connect(host, static_cast<uint16_t>(port), net::Resolve::kByName,
                                 within(limits.connect), limits.stop);
  if (!stream) return 1;

  std::string request = FormatRequest(host, path, extraHeader, data, length);
  if (within(limits.idle).count() <= 0 || !SendString(*stream, request, within(limits.idle)))
    return 1;

  // The header ends at the first line with nothing but an optional CR. A
  // Content-Length ends the body there (a keep-alive server need not
  // close), and an answer that closes short of it is no answer; without
  // one the body runs to the close.
  std::string header, body;
  bool inHeader = true;
  size_t lineLength = 0;
  long long announced = -1;
  char buffer[kReceiveChunk];
  for (;;) {
    if (!inHeader && announced >= 0 && body.size() == static_cast<size_t>(announced)) break;
    net::Millis wait = within(limits.idle);
    if (wait.count() <= 0) return 1;
    net::IoResult got = stream->Receive(buffer, sizeof buffer, wait);
    if (got.status == net::IoStatus::kClosed) {
      if (!inHeader && announced >= 0) return 1;
      break;
    }
    if (got.status != net::IoStatus::kOk) return 1;  // stalled or broken: not an answer
    size_t i = 0;
    bool headerEnded = false;
    while (inHeader && i < got.bytes) {
      char c = buffer[i++];
      header += c;
      if (c == '\n') {
        if (lineLength == 0) {
          inHeader = false;
          headerEnded = true;
        }
        lineLength = 0;
      } else if (c != '\r') {
        ++lineLength;
      }
    }
    if (header.size() > kMaxHeaderBytes) return 1;
    if (inHeader) continue;
    if (headerEnded) {
      announced = ContentLength(header);
      if (announced == -2 || announced > static_cast<long long>(limits.maxBody)) return 1;
      // Reserved once: the length is bounded by maxBody above.
      if (announced > 0) body.reserve(static_cast<size_t>(announced));
    }
    size_t take = got.bytes - i;
    if (announced >= 0) take = std::min<size_t>(take, static_cast<size_t>(announced) - body.size());
    if (take > limits.maxBody - body.size()) return 1;
    body.append(buffer + i, take);
  }
  stream->Close();
  result.request = std::move(request);
  result.status = StatusOf(header);
  result.header = std::move(header);
  result.body = std::move(body);
  return 0;
}

void Request::SendRequest(net::Services& services, const net::HttpLimits& limits, bool post,
                          const std::string& url, std::string& data, std::string& header,
                          std::string& body, int* status) {
  RequestResult result;
  int failed = 1;
  if (post) {
    failed = SendHTTP(services, limits, url, "Content-Type: application/x-www-form-urlencoded\r\n",
                      data.c_str(), data.size(), result);
  } else {
    failed = SendHTTP(services, limits, url, nullptr, nullptr, 0, result);
  }
  if (failed != 0) return;
  // Only moves and a shrink from here on: they cannot fail half-way.
  result.body.resize(std::strlen(result.body.c_str()));
  data.swap(result.request);
  header.swap(result.header);
  body.swap(result.body);
  if (status != nullptr) *status = result.status;
}
