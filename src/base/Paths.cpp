#include "base/Paths.h"

namespace base {

std::string LeafName(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string JoinItemPath(const std::vector<std::string>& textsFromTop) {
  std::string path;
  for (const std::string& text : textsFromTop) {
    path += text;
    path += '\\';
  }
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

bool IsDriveRoot(std::string_view path) {
  const bool letter =
      !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return letter && (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && path[1] == ':';
}

std::string WithSeparator(std::string_view folder) {
  std::string s(folder);
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

std::string ExtendedPath(std::string_view path) {
  if (path.substr(0, 4) == "\\\\?\\" || path.substr(0, 4) == "\\\\.\\") return std::string(path);
  if (path.substr(0, 2) == "\\\\") return "\\\\?\\UNC\\" + std::string(path.substr(2));
  bool driveAbsolute = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
  if (driveAbsolute) return "\\\\?\\" + std::string(path);
  // "C:" names the drive's root here, not its current directory.
  if (path.size() == 2 && path[1] == ':') return "\\\\?\\" + std::string(path) + "\\";
  return std::string(path);
}

std::string ListPattern(std::string_view folder) {
  return ExtendedPath(WithSeparator(folder)) + "*";
}

int CompareNoCaseAscii(const std::string& a, const std::string& b) {
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int ca = fold(static_cast<unsigned char>(a[i]));
    int cb = fold(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace base
