#pragma once
// TLS from the system (SChannel) for the Windows socket streams.
#include <memory>
#include <string>

#include "net/Stream.h"

namespace net {

// The handshake and the check of the server's certificate, within `limit`.
std::unique_ptr<Stream> StartSchannel(std::unique_ptr<Stream> plain, const std::string& host,
                                      Millis limit, TlsFailure& why);

}  // namespace net
