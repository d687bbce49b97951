#pragma once
#include <string>

namespace net {

// The maker's web server, e.g. "http://www.mirven.com"; the environment
// variable MIRVEN_SERVER replaces it (tests, self-hosting).
std::string MakerServer();

}  // namespace net
