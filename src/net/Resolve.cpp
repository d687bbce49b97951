#include "net/Resolve.h"

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

namespace net {

std::vector<sockaddr_in> Resolve4(const std::string& host, bool numericOnly, Millis limit,
                                  const StopFlag* stop) {
  auto lookup = [host, numericOnly]() {
    std::vector<sockaddr_in> out;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = numericOnly ? AI_NUMERICHOST : 0;
    addrinfo* list = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &list) != 0) return out;
    for (addrinfo* a = list; a != nullptr; a = a->ai_next)
      out.push_back(*reinterpret_cast<const sockaddr_in*>(a->ai_addr));
    freeaddrinfo(list);
    return out;
  };
  if (numericOnly) return lookup();
  return CallWithTimeLimit<std::vector<sockaddr_in>>(lookup, limit, stop)
      .value_or(std::vector<sockaddr_in>{});
}

}  // namespace net
