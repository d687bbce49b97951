#include "cleanup/KeepList.h"

#include <cstdint>

namespace cleanup {

namespace {

// Simple one-to-one case folding for the scripts with case: Latin, Greek,
// Cyrillic, Armenian and the full-width forms.
char32_t Fold(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF)) return c | 1;
  if (c >= 0x531 && c <= 0x556) return c + 48;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

// Decodes one UTF-8 character at `i`; false for a malformed one.
bool Decode(std::string_view s, size_t& i, char32_t& c) {
  const auto b = static_cast<unsigned char>(s[i]);
  int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + static_cast<size_t>(extra) >= s.size() + (extra == 0)) return false;
  c = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto n = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((n & 0xC0) != 0x80) return false;
    c = (c << 6) | (n & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  i += static_cast<size_t>(extra) + 1;
  return true;
}

void Encode(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool WholePath(std::string_view key) {
  const bool drive = key.size() >= 2 && key[1] == ':' &&
                     ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z')) &&
                     (key.size() == 2 || key[2] == '\\');
  const bool share = key.size() > 2 && key[0] == '\\' && key[1] == '\\' && key[2] != '\\';
  return drive || share;
}

}  // namespace

std::string KeepKey(std::string_view path) {
  std::string key;
  key.reserve(path.size());
  for (size_t i = 0; i < path.size();) {
    char32_t c;
    if (path[i] == '\0' || !Decode(path, i, c)) return {};
    Encode(c == '/' ? U'\\' : Fold(c), key);
  }
  // "\\?\C:\x" is "C:\x", "\\?\UNC\server\share" is "\\server\share".
  if (key.rfind("\\\\?\\unc\\", 0) == 0)
    key.erase(2, 6);
  else if (key.rfind("\\\\?\\", 0) == 0)
    key.erase(0, 4);
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::optional<KeepList> KeepList::Read(std::string_view bytes) {
  const bool le = bytes.rfind("\xFF\xFE", 0) == 0, be = bytes.rfind("\xFE\xFF", 0) == 0;
  if (!le && !be) return Parse(bytes);
  // UTF-16, as Notepad's "Unicode" and PowerShell's ">" write it.
  if (bytes.size() % 2) return std::nullopt;
  auto unit = [&](size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return le ? a | (b << 8) : (a << 8) | b;
  };
  std::string text;
  for (size_t i = 2; i < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return std::nullopt;  // half a pair: it could not be written back as it was
    }
    Encode(c, text);
  }
  return Parse(text);
}

KeepList KeepList::Parse(std::string_view text) {
  KeepList list;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.remove_prefix(3);
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    const std::string key = KeepKey(line);
    if (!WholePath(key)) {
      list.unreadable_.emplace_back(line);
    } else if (list.keys_.insert(key).second) {
      list.entries_.emplace_back(line);
    }
  }
  return list;
}

std::string KeepList::Serialize() const {
  std::string text;
  for (const auto* lines : {&entries_, &unreadable_})
    for (const std::string& line : *lines) text += line + "\r\n";
  // Text that would read back as UTF-16 says it is UTF-8.
  if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0)
    text.insert(0, "\xEF\xBB\xBF");
  return text;
}

bool IsWholeDrive(std::string_view path) {
  const std::string key = KeepKey(path);
  return key.size() == 2 && WholePath(key);
}

std::string WholeDriveRefusal(const std::string& drive) {
  return "不能将整个磁盘 " + drive + " 加入保留列表，否则其中所有文件都不会再被清理。请改为保留其中的文件或文件夹。";
}

bool KeepList::Add(const std::string& path) {
  std::string key = KeepKey(path);
  if (!WholePath(key) || path.find_first_of("\r\n") != std::string::npos) return false;
  if (IsWholeDrive(path)) return false;
  if (!keys_.insert(key).second) return false;
  entries_.push_back(path);
  return true;
}

bool KeepList::Remove(size_t index) {
  if (index >= entries_.size()) return false;
  keys_.erase(KeepKey(entries_[index]));
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool KeepList::Keeps(std::string_view file) const {
  if (keys_.empty()) return false;
  std::string key = KeepKey(file);
  // The file itself, then each folder above it.
  for (;;) {
    if (keys_.count(key)) return true;
    size_t cut = key.rfind('\\');
    if (cut == std::string::npos || cut == 0) return false;
    key.resize(cut);
  }
}

}  // namespace cleanup
