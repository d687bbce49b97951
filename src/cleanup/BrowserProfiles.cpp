#include "cleanup/BrowserProfiles.h"

#include <cctype>
#include <cstdint>

namespace cleanup {

namespace {

// A small JSON reader: skips what it does not need, fails on malformed text.
class Json {
 public:
  explicit Json(std::string_view text) : s_(text) {}

  // At an object: calls `member(key)` with the reader at each member's value;
  // `member` must consume the value.
  template <typename F>
  bool Object(F&& member) {
    Space();
    if (!Take('{')) return false;
    Space();
    if (Take('}')) return true;
    for (;;) {
      std::string key;
      Space();
      if (!String(&key)) return false;
      Space();
      if (!Take(':')) return false;
      if (!member(key)) return false;
      Space();
      if (Take('}')) return true;
      if (!Take(',')) return false;
    }
  }

  bool Skip(int depth = 0) {
    if (depth > kMaxDepth) return false;
    Space();
    if (at_ >= s_.size()) return false;
    const char c = s_[at_];
    if (c == '{') return Object([&](const std::string&) { return Skip(depth + 1); });
    if (c == '[') {
      ++at_;
      Space();
      if (Take(']')) return true;
      for (;;) {
        if (!Skip(depth + 1)) return false;
        Space();
        if (Take(']')) return true;
        if (!Take(',')) return false;
      }
    }
    if (c == '"') return String(nullptr);
    // Numbers, true, false, null: a run of their characters.
    const size_t from = at_;
    while (at_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[at_])) ||
                               s_[at_] == '-' || s_[at_] == '+' || s_[at_] == '.'))
      ++at_;
    return at_ > from;
  }

  bool AtEnd() {
    Space();
    return at_ == s_.size();
  }

 private:
  static constexpr int kMaxDepth = 64;

  void Space() {
    while (at_ < s_.size() &&
           (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\r' || s_[at_] == '\n'))
      ++at_;
  }
  bool Take(char c) {
    if (at_ < s_.size() && s_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool Hex4(uint32_t& v) {
    if (s_.size() - at_ < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[at_++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<uint32_t>(c - 'A' + 10);
      else
        return false;
    }
    return true;
  }
  static void Append(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  // A string, decoded into `out` when given.
  bool String(std::string* out) {
    if (!Take('"')) return false;
    while (at_ < s_.size()) {
      const char c = s_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        if (out) *out += c;
        continue;
      }
      if (at_ >= s_.size()) return false;
      const char e = s_[at_++];
      uint32_t cp = 0;
      switch (e) {
        case '"':
        case '\\':
        case '/': cp = static_cast<uint32_t>(e); break;
        case 'b': cp = '\b'; break;
        case 'f': cp = '\f'; break;
        case 'n': cp = '\n'; break;
        case 'r': cp = '\r'; break;
        case 't': cp = '\t'; break;
        case 'u': {
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp < 0xDC00) {
            uint32_t low = 0;
            if (!Take('\\') || !Take('u') || !Hex4(low) || low < 0xDC00 || low >= 0xE000)
              return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            return false;
          }
          break;
        }
        default: return false;
      }
      if (out) Append(*out, cp);
    }
    return false;
  }

  std::string_view s_;
  size_t at_ = 0;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

bool StartsNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

}  // namespace

std::optional<std::vector<std::string>> LocalStateProfiles(std::string_view json) {
  if (json.substr(0, 3) == "\xEF\xBB\xBF") json.remove_prefix(3);
  Json reader(json);
  std::vector<std::string> names;
  bool found = false;
  const bool ok = reader.Object([&](const std::string& key) {
    if (key != "profile" || found) return reader.Skip();
    return reader.Object([&](const std::string& inner) {
      if (inner != "info_cache" || found) return reader.Skip();
      found = true;
      return reader.Object([&](const std::string& name) {
        names.push_back(name);
        return reader.Skip();
      });
    });
  });
  if (!ok || !reader.AtEnd() || !found) return std::nullopt;
  return names;
}

std::vector<FirefoxProfile> ParseProfilesIni(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<FirefoxProfile> profiles;
  bool inProfile = false;
  FirefoxProfile current;
  bool hasPath = false, hasRelative = false;
  auto finish = [&] {
    if (inProfile && hasPath && !current.path.empty()) {
      // Without IsRelative, a path that starts at a drive or a share is whole.
      if (!hasRelative)
        current.relative = !(current.path.size() > 1 && current.path[1] == ':') &&
                           current.path.rfind("\\\\", 0) != 0 && current.path[0] != '/';
      profiles.push_back(current);
    }
    current = FirefoxProfile{};
    hasPath = hasRelative = false;
  };
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      finish();
      inProfile = line.back() == ']' && StartsNoCase(line.substr(1), "profile");
      continue;
    }
    const size_t eq = line.find('=');
    if (!inProfile || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (key.size() == 4 && StartsNoCase(key, "path")) {
      current.path = std::string(value);
      hasPath = true;
    } else if (key.size() == 10 && StartsNoCase(key, "isrelative")) {
      current.relative = value == "1";
      hasRelative = true;
    }
  }
  finish();
  return profiles;
}

bool PlainFolderName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '\\' || c == '/' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

}  // namespace cleanup
