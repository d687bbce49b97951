#include "cleanup/JunkRules.h"

namespace cleanup {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Length of the UTF-8 sequence that starts with this byte (1 for stray bytes).
size_t SequenceLength(unsigned char c) {
  if (c >= 0xF0 && c <= 0xF4) return 4;
  if (c >= 0xE0) return c <= 0xEF ? 3 : 1;
  if (c >= 0xC2) return 2;
  return 1;
}

}  // namespace

JunkPatterns JunkPatterns::Defaults() {
  return JunkPatterns({"*.tmp", "*.syd", "*.old", "*.gid", "*._mp", "*.??~"});
}

std::string_view JunkPatterns::LeafOf(std::string_view path) {
  size_t cut = path.rfind('\\');
  if (cut == std::string_view::npos) cut = path.rfind('/');
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool JunkPatterns::ExtensionOf(std::string_view name, std::string_view& ext) {
  size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  ext = name.substr(dot + 1);
  return true;
}

bool JunkPatterns::KeyMatches(std::string_view key, std::string_view ext) {
  size_t e = 0;
  for (char k : key) {
    if (e >= ext.size()) return false;
    if (k == '?') {
      size_t n = SequenceLength(static_cast<unsigned char>(ext[e]));
      e += n;
      if (e > ext.size()) return false;
    } else {
      if (Fold(k) != Fold(ext[e])) return false;
      ++e;
    }
  }
  return e == ext.size();
}

bool JunkPatterns::IsJunkName(std::string_view name) const {
  std::string_view ext;
  if (!ExtensionOf(name, ext) || ext.empty()) return false;
  for (const std::string& p : patterns_) {
    std::string_view key(p);
    if (key.size() < 2) continue;
    if (KeyMatches(key.substr(2), ext)) return true;
  }
  return false;
}

}  // namespace cleanup
