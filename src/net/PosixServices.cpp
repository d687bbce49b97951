// The seams over POSIX sockets and files, for native tests and tools.
#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "net/Stream.h"
#include "net/Resolve.h"

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

int PollMillis(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

// How often a wait looks at its stop flag.
constexpr int kStopSliceMs = 50;

// 1 ready, 0 timed out, -1 failed or stopped.
int WaitFor(int fd, short events, Clock::time_point deadline, const StopFlag* stop) {
  for (;;) {
    if (stop && stop->load()) return -1;
    const int left = PollMillis(deadline);
    const int slice = stop ? std::min(left, kStopSliceMs) : left;
    pollfd p{fd, events, 0};
    int n = poll(&p, 1, slice);
    if (n > 0) return 1;
    if (n == 0 && slice == left) return 0;
    if (n < 0 && errno != EINTR) return -1;
  }
}

class PosixStream : public Stream {
 public:
  PosixStream(int fd, const StopFlag* stop) : fd_(fd), stop_(stop) {}
  ~PosixStream() override { Close(); }

  IoStatus SendAll(const char* data, size_t size, Millis limit) override {
    while (size > 0) {
      ssize_t n = send(fd_, data, size, MSG_NOSIGNAL);
      if (n > 0) {
        data += n;
        size -= static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        int ready = WaitFor(fd_, POLLOUT, Clock::now() + limit, stop_);
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
    for (;;) {
      ssize_t n = recv(fd_, buffer, capacity, 0);
      if (n > 0) return {IoStatus::kOk, static_cast<size_t>(n)};
      if (n == 0) return {IoStatus::kClosed, 0};
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return {IoStatus::kFailed, 0};
      int ready = WaitFor(fd_, POLLIN, deadline, stop_);
      if (ready == 0) return {IoStatus::kTimedOut, 0};
      if (ready < 0) return {IoStatus::kFailed, 0};
    }
  }

  void Close() override {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
  const StopFlag* stop_;
};

class PosixFile : public ByteSource {
 public:
  explicit PosixFile(std::FILE* file) : file_(file) {}
  ~PosixFile() override { std::fclose(file_); }
  uint64_t Size() override {
    struct stat info {};
    return fstat(fileno(file_), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
  }
  long long Read(char* buffer, size_t capacity) override {
    size_t n = std::fread(buffer, 1, capacity, file_);
    if (n == 0 && std::ferror(file_)) return -1;
    return static_cast<long long>(n);
  }
  bool IsDiskFile() override {
    struct stat info {};
    return fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode);
  }

 private:
  std::FILE* file_;
};

class PosixServices : public Services {
 public:
  SocketStart StartSockets() override { return SocketStart::kOk; }

  std::unique_ptr<Stream> Connect(const std::string& host, uint16_t port, Resolve resolve,
                                  Millis limit, const StopFlag* stop) override {
    const auto deadline = Clock::now() + limit;
    for (sockaddr_in address : Resolve4(host, resolve == Resolve::kNumericOnly, limit, stop)) {
      address.sin_port = htons(port);
      int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      if (fd < 0) return nullptr;
      auto stream = std::make_unique<PosixStream>(fd, stop);
      int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return stream;
      if (errno != EINPROGRESS) continue;
      if (WaitFor(fd, POLLOUT, deadline, stop) != 1) return nullptr;
      int error = 0;
      socklen_t length = sizeof error;
      if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0) return stream;
    }
    return nullptr;
  }

  std::string LocalHostName() override {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
  }

  std::unique_ptr<ByteSource> OpenFile(const std::string& path) override {
    if (IsDevicePath(path)) return nullptr;
    // Without O_NONBLOCK opening a FIFO waits for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(file);
  }
};

}  // namespace

Services& SystemServices() {
  static PosixServices services;
  return services;
}

}  // namespace net
