// The seams over Winsock and Win32 files.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "base/Text.h"
#include "net/Resolve.h"
#include "net/Stream.h"
#include "net/WinTls.h"

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at its stop flag.
constexpr long long kStopSliceUs = 50000;

// 1 ready, 0 timed out, -1 failed or stopped.
int WaitFor(SOCKET s, bool write, Clock::time_point deadline, const StopFlag* stop) {
  for (;;) {
    if (stop && stop->load()) return -1;
    auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
    if (left < 0) left = 0;
    const long long slice = stop ? std::min(left, kStopSliceUs) : left;
    timeval tv;
    tv.tv_sec = static_cast<long>(slice / 1000000);
    tv.tv_usec = static_cast<long>(slice % 1000000);
    fd_set set, errors;
    FD_ZERO(&set);
    FD_ZERO(&errors);
    FD_SET(s, &set);
    FD_SET(s, &errors);
    int n = select(0, write ? nullptr : &set, write ? &set : nullptr, &errors, &tv);
    if (n < 0) return -1;
    if (n > 0) return FD_ISSET(s, &set) ? 1 : -1;
    if (slice == left) return 0;
  }
}

class WinStream : public Stream {
 public:
  WinStream(SOCKET s, const StopFlag* stop) : socket_(s), stop_(stop) {}
  ~WinStream() override { Close(); }

  IoStatus SendAll(const char* data, size_t size, Millis limit) override {
    while (size > 0) {
      int chunk = static_cast<int>(std::min<size_t>(size, 1 << 20));
      int n = send(socket_, data, chunk, 0);
      if (n > 0) {
        data += n;
        size -= static_cast<size_t>(n);
        continue;
      }
      if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
        int ready = WaitFor(socket_, true, Clock::now() + limit, stop_);
        if (ready == 0) return IoStatus::kTimedOut;
        if (ready < 0) return IoStatus::kFailed;
        continue;
      }
      return IoStatus::kFailed;
    }
    return IoStatus::kOk;
  }

  IoResult Receive(char* buffer, size_t capacity, Millis limit) override {
    const auto deadline = Clock::now() + limit;
    int chunk = static_cast<int>(std::min<size_t>(capacity, 1 << 20));
    for (;;) {
      int n = recv(socket_, buffer, chunk, 0);
      if (n > 0) return {IoStatus::kOk, static_cast<size_t>(n)};
      if (n == 0) return {IoStatus::kClosed, 0};
      if (WSAGetLastError() != WSAEWOULDBLOCK) return {IoStatus::kFailed, 0};
      int ready = WaitFor(socket_, false, deadline, stop_);
      if (ready == 0) return {IoStatus::kTimedOut, 0};
      if (ready < 0) return {IoStatus::kFailed, 0};
    }
  }

  void Close() override {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }

 private:
  SOCKET socket_;
  const StopFlag* stop_;
};

// Paths past MAX_PATH need the \\?\ form, which takes only backslashes.
std::wstring LongPath(const std::string& utf8) {
  std::wstring path = base::Wide(utf8);
  if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0) return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.size() > 2 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

class WinFile : public ByteSource {
 public:
  explicit WinFile(HANDLE file) : file_(file) {}
  ~WinFile() override { CloseHandle(file_); }
  uint64_t Size() override {
    LARGE_INTEGER size;
    return GetFileSizeEx(file_, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  long long Read(char* buffer, size_t capacity) override {
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(std::min<size_t>(capacity, 1 << 30));
    if (!ReadFile(file_, buffer, want, &got, nullptr)) return -1;
    return got;
  }
  bool IsDiskFile() override { return GetFileType(file_) == FILE_TYPE_DISK; }

 private:
  HANDLE file_;
};

class WinServices : public Services {
 public:
  SocketStart StartSockets() override {
    std::call_once(once_, [this] {
      WSADATA data;
      if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        start_ = SocketStart::kFailed;
      } else if (data.wVersion != MAKEWORD(2, 2)) {
        WSACleanup();
        start_ = SocketStart::kWrongVersion;
      }
    });
    return start_;
  }

  std::unique_ptr<Stream> Connect(const std::string& host, uint16_t port, Resolve resolve,
                                  Millis limit, const StopFlag* stop) override {
    if (StartSockets() != SocketStart::kOk) return nullptr;
    const auto deadline = Clock::now() + limit;
    for (sockaddr_in address : Resolve4(host, resolve == Resolve::kNumericOnly, limit, stop)) {
      address.sin_port = htons(port);
      SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
      if (s == INVALID_SOCKET) return nullptr;
      auto stream = std::make_unique<WinStream>(s, stop);
      u_long nonBlocking = 1;
      ioctlsocket(s, FIONBIO, &nonBlocking);
      BOOL one = TRUE;
      setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
      if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return stream;
      if (WSAGetLastError() != WSAEWOULDBLOCK) continue;
      int ready = WaitFor(s, true, deadline, stop);
      if (ready == 0) return nullptr;
      if (ready < 0) continue;
      int error = 0;
      int length = sizeof error;
      if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) == 0 &&
          error == 0)
        return stream;
    }
    return nullptr;
  }

  std::unique_ptr<Stream> StartTls(std::unique_ptr<Stream> plain, const std::string& host,
                                   Millis limit, TlsFailure& why) override {
    return StartSchannel(std::move(plain), host, limit, why);
  }

  std::string LocalHostName() override {
    if (StartSockets() != SocketStart::kOk) return {};
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
  }

  std::unique_ptr<ByteSource> OpenFile(const std::string& path) override {
    if (IsDevicePath(path)) return nullptr;
    HANDLE file =
        CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinFile>(file);
  }

 private:
  std::once_flag once_;
  SocketStart start_ = SocketStart::kOk;
};

}  // namespace

Services& SystemServices() {
  static WinServices services;
  return services;
}

}  // namespace net
