#pragma once
// The seams the network clients talk through: a byte stream with time
// limits, a readable file, and the few host services they need. The
// program gets them from the platform's sockets and files; a TLS stream can
// take the place of a plain one, also in the middle of a conversation.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

namespace net {

using Millis = std::chrono::milliseconds;

// Set by another thread to end a connection's waits early: every wait of
// a stream connected with it ends soon after, as a failure.
using StopFlag = std::atomic<bool>;

enum class IoStatus { kOk, kClosed, kTimedOut, kFailed };

struct IoResult {
  IoStatus status = IoStatus::kFailed;
  size_t bytes = 0;
};

class Stream {
 public:
  virtual ~Stream() = default;
  // Sends every byte or reports why not; the limit bounds each wait for
  // the peer to take more.
  virtual IoStatus SendAll(const char* data, size_t size, Millis limit) = 0;
  // Waits at most the limit for data; kOk always carries at least one byte,
  // kClosed is the peer's orderly end.
  virtual IoResult Receive(char* buffer, size_t capacity, Millis limit) = 0;
  virtual void Close() = 0;
};

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() = 0;
  // Bytes read, 0 at the end, -1 on a read error.
  virtual long long Read(char* buffer, size_t capacity) = 0;
  // False for a device, a pipe or anything else whose reads could wait
  // for ever; such a source is never read.
  virtual bool IsDiskFile() { return true; }
};

// Why a stream could not be wrapped in TLS.
enum class TlsFailure { kNone, kUnavailable, kHandshake, kUntrusted, kWrongHost, kTimedOut };

enum class Resolve { kByName, kNumericOnly };
enum class SocketStart { kOk, kFailed, kWrongVersion };

class Services {
 public:
  virtual ~Services() = default;
  virtual SocketStart StartSockets() = 0;
  // nullptr when the host cannot be resolved or reached within the limit,
  // or `stop` was set meanwhile. The stream's own waits watch `stop` too.
  virtual std::unique_ptr<Stream> Connect(const std::string& host, uint16_t port, Resolve resolve,
                                          Millis limit, const StopFlag* stop = nullptr) = 0;
  // Wraps a connected stream in TLS for `host` and verifies the server's
  // certificate against the system's roots and that name. nullptr with the
  // reason when it cannot; the plain stream is closed then.
  virtual std::unique_ptr<Stream> StartTls(std::unique_ptr<Stream> plain, const std::string& host,
                                           Millis limit, TlsFailure& why) {
    (void)host;
    (void)limit;
    plain.reset();
    why = TlsFailure::kUnavailable;
    return nullptr;
  }
  // Empty when the system does not tell.
  virtual std::string LocalHostName() = 0;
  // nullptr when the file cannot be opened; the path is UTF-8. Opening
  // never reads; a path that names a device (IsDevicePath) is not opened.
  virtual std::unique_ptr<ByteSource> OpenFile(const std::string& path) = 0;
  virtual std::time_t Now() { return std::time(nullptr); }
};

// True for a path that names a device rather than a file: the \\.\ and
// \\?\GLOBALROOT forms, and the reserved names (CON, NUL, COM1, LPT1, ...)
// with any extension in any folder. Opening one could wait for ever.
bool IsDevicePath(const std::string& path);

// The platform's sockets and files; defined by the platform layer, so only
// callers outside the portable core name it.
Services& SystemServices();

}  // namespace net
