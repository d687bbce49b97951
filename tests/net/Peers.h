#pragma once
// The peers of the network tests: one helper process (peers/hub.py) that
// starts real and scripted servers on 127.0.0.1 on request and reports what
// they received. Natively it is started here; under Wine the environment
// variable MIRVEN_NET_PEERS gives its control port.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "net/Stream.h"

namespace nettest {

struct Peer {
  uint16_t port = 0;
  std::string id;
};

struct ReceivedPart {
  std::string contentType, filename, charset, payload;
};

// One address of an address header as the peer's parser saw it.
struct ReceivedMailbox {
  std::string header, name, address;
};

struct ReceivedMail {
  std::string from, raw, defects;
  std::vector<ReceivedMailbox> mailboxes;  // From, To, Cc and Reply-To
  std::vector<std::string> recipients;
  std::vector<std::pair<std::string, std::string>> headers;
  std::vector<ReceivedPart> parts;
  // The first header of that name, "" when there is none.
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
};

std::string Encode(std::string_view bytes);
std::string Decode(std::string_view base64);

// Empty on failure, with the reason in Problem().
std::vector<std::string> Call(const std::string& command);
const std::string& Problem();
Peer Start(const std::string& command);
void Stop(const Peer& peer);
std::vector<ReceivedMail> Mails(const Peer& peer);
// The DER bytes of the CA that issued the TLS peers' certificates; empty
// when the peers could not make it.
std::string TestCaDer();
// Every byte a scripted server received.
std::string Log(const Peer& peer);

// Counts connection attempts and never makes one; no file opens.
struct NoNetwork : net::Services {
  int connects = 0;
  net::SocketStart StartSockets() override { return net::SocketStart::kOk; }
  std::unique_ptr<net::Stream> Connect(const std::string&, uint16_t, net::Resolve, net::Millis,
                                       const net::StopFlag*) override {
    ++connects;
    return nullptr;
  }
  std::string LocalHostName() override { return {}; }
  std::unique_ptr<net::ByteSource> OpenFile(const std::string&) override { return nullptr; }
};

// A fresh folder for the files of one test, removed by its destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  // Writes the file and returns its UTF-8 path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  const std::string& path() const { return path_; }
  // The folder as the peers (Linux processes) see it.
  std::string PeerPath() const;

 private:
  std::string path_;
};

}  // namespace nettest
