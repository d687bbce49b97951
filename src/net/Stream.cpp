#include "net/Stream.h"

#include <cctype>

namespace net {

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  size_t i = 0;
  for (; prefix[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    if (std::toupper(static_cast<unsigned char>(text[i])) !=
        std::toupper(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

}  // namespace

bool IsDevicePath(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '/') c = '\\';
  if (StartsWithNoCase(p, "\\\\.\\") || StartsWithNoCase(p, "\\\\?\\GLOBALROOT") ||
      StartsWithNoCase(p, "\\??\\"))
    return true;
  // The last name, up to its first dot or colon, without trailing blanks:
  // "com1.txt", "NUL  .log" and "aux:" all name devices.
  size_t slash = p.find_last_of("\\:");
  if (slash != std::string::npos && p[slash] == ':' && slash + 1 == p.size())
    slash = p.find_last_of('\\', slash);
  std::string name = p.substr(slash == std::string::npos ? 0 : slash + 1);
  name = name.substr(0, name.find_first_of(".:"));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" ||
      name == "CONOUT$")
    return true;
  return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
         name[3] >= '1' && name[3] <= '9';
}

}  // namespace net
