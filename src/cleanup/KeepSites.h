#pragma once
// The sites whose cookies a clean keeps, so that the user stays logged in
// to them: %APPDATA%\Mirven\keep-sites.txt, UTF-8, one host name a line.
// A site keeps the cookies of its own host and of every host under it, and
// of no other: "example.com" keeps "www.example.com", not "badexample.com".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace cleanup {

// A site as sites are compared: lower case, without a leading or trailing
// dot, a scheme, a port or a path ("https://Bank.Example.cn/login" is
// "bank.example.cn"). Empty for text that is no host name.
std::string SiteKey(std::string_view site);

class KeepSites {
 public:
  // The file's text: LF or CRLF lines, a BOM allowed, blank lines ignored;
  // lines that are no host name are set aside and written back unchanged.
  static KeepSites Parse(std::string_view text);
  // The file's bytes: nothing for UTF-16 text, which Parse would split in
  // the middle of characters and so could not write back as it was.
  static std::optional<KeepSites> Read(std::string_view bytes);
  std::string Serialize() const;

  const std::vector<std::string>& Entries() const { return entries_; }
  size_t Unreadable() const { return unreadable_.size(); }
  // Adds the site's SiteKey; false when `site` is no host name, or is kept
  // already.
  bool Add(const std::string& site);
  bool Remove(size_t index);
  // A cookie's host as the browsers store it ("bank.example.cn",
  // ".bank.example.cn"), without regard to case.
  bool KeepsHost(std::string_view host) const;

 private:
  std::vector<std::string> entries_;
  std::vector<std::string> unreadable_;
  std::unordered_set<std::string> keys_;
};

}  // namespace cleanup
