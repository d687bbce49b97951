#include "net/Base64.h"

namespace net {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

void AppendBase64(std::string& out, const char* bytes, size_t size) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  size_t start = out.size();
  out.resize(start + (size + 2) / 3 * 4);
  char* o = &out[start];
  size_t i = 0;
  for (; i + 3 <= size; i += 3) {
    unsigned v = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
    *o++ = kAlphabet[v >> 18];
    *o++ = kAlphabet[(v >> 12) & 63];
    *o++ = kAlphabet[(v >> 6) & 63];
    *o++ = kAlphabet[v & 63];
  }
  if (size - i == 1) {
    unsigned v = in[i] << 16;
    *o++ = kAlphabet[v >> 18];
    *o++ = kAlphabet[(v >> 12) & 63];
    *o++ = '=';
    *o++ = '=';
  } else if (size - i == 2) {
    unsigned v = (in[i] << 16) | (in[i + 1] << 8);
    *o++ = kAlphabet[v >> 18];
    *o++ = kAlphabet[(v >> 12) & 63];
    *o++ = kAlphabet[(v >> 6) & 63];
    *o++ = '=';
  }
}

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  AppendBase64(out, bytes.data(), bytes.size());
  return out;
}

}  // namespace net
