#pragma once
#include <string>
#include <string_view>

namespace net {

// RFC 4648 with padding, one unbroken line.
std::string Base64Encode(std::string_view bytes);
void AppendBase64(std::string& out, const char* bytes, size_t size);

}  // namespace net
