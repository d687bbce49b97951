#pragma once
// Host name to IPv4 addresses, under a time limit, for the socket streams
// of both platforms.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#endif

#include <string>
#include <vector>

#include "net/Stream.h"
#include "net/TimeLimit.h"

namespace net {

// The addresses of `host`; none when it cannot be resolved in time. With
// numericOnly, only a dotted address is accepted and nothing is looked up.
// A set `stop` ends the wait early with none.
std::vector<sockaddr_in> Resolve4(const std::string& host, bool numericOnly, Millis limit,
                                  const StopFlag* stop);

}  // namespace net
