#include "net/Server.h"

#include <cstdlib>

namespace net {

namespace {
constexpr char kMakerServer[] = "http://www.mirven.com";
}

std::string MakerServer() {
  const char* override = std::getenv("MIRVEN_SERVER");
  if (override != nullptr && *override != '\0') {
    std::string server = override;
    while (!server.empty() && server.back() == '/') server.pop_back();
    return server;
  }
  return kMakerServer;
}

}  // namespace net
