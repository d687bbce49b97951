#include "cleanup/KeepSites.h"

#include <algorithm>

namespace cleanup {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool HostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// Dot-separated labels of letters, digits, '-' and '_', 1 to 63 characters
// each and no '-' at either end, 253 at most in all: cookie hosts as the
// browsers keep them (international names in their xn-- form).
bool HostName(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  size_t label = 0;
  for (size_t i = 0; i < host.size(); ++i) {
    const char c = host[i];
    if (c == '.') {
      if (label == 0 || host[i - 1] == '-') return false;
      label = 0;
    } else if (c == '-' && label == 0) {
      return false;
    } else if (!HostChar(c) || ++label > 63) {
      return false;
    }
  }
  return label > 0 && host.back() != '-';
}

}  // namespace

std::string SiteKey(std::string_view site) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!site.empty() && blank(site.front())) site.remove_prefix(1);
  while (!site.empty() && blank(site.back())) site.remove_suffix(1);
  // What a user pastes from the address bar: a scheme, a path, a port.
  if (size_t scheme = site.find("://"); scheme != std::string_view::npos)
    site.remove_prefix(scheme + 3);
  site = site.substr(0, site.find_first_of("/?#"));
  if (size_t port = site.rfind(':'); port != std::string_view::npos) {
    const std::string_view digits = site.substr(port + 1);
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return {};
    site = site.substr(0, port);
  }
  if (!site.empty() && site.front() == '.') site.remove_prefix(1);
  if (!site.empty() && site.back() == '.') site.remove_suffix(1);
  std::string key(site);
  std::transform(key.begin(), key.end(), key.begin(), Lower);
  return HostName(key) ? key : std::string();
}

std::optional<KeepSites> KeepSites::Read(std::string_view bytes) {
  if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0) return std::nullopt;
  return Parse(bytes);
}

KeepSites KeepSites::Parse(std::string_view text) {
  KeepSites sites;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.remove_prefix(3);
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
    std::string key = SiteKey(line);
    if (key.empty())
      sites.unreadable_.emplace_back(line);
    else if (sites.keys_.insert(std::move(key)).second)
      sites.entries_.emplace_back(line);
  }
  return sites;
}

std::string KeepSites::Serialize() const {
  std::string text;
  for (const auto* lines : {&entries_, &unreadable_})
    for (const std::string& line : *lines) text += line + "\r\n";
  return text;
}

bool KeepSites::Add(const std::string& site) {
  std::string key = SiteKey(site);
  if (key.empty() || !keys_.insert(key).second) return false;
  entries_.push_back(std::move(key));
  return true;
}

bool KeepSites::Remove(size_t index) {
  if (index >= entries_.size()) return false;
  keys_.erase(SiteKey(entries_[index]));
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool KeepSites::KeepsHost(std::string_view host) const {
  if (keys_.empty()) return false;
  if (!host.empty() && host.front() == '.') host.remove_prefix(1);
  std::string key(host);
  std::transform(key.begin(), key.end(), key.begin(), Lower);
  // The host itself, then each domain above it, label by label.
  for (std::string_view rest = key;;) {
    if (keys_.count(std::string(rest))) return true;
    const size_t dot = rest.find('.');
    if (dot == std::string_view::npos) return false;
    rest.remove_prefix(dot + 1);
  }
}

}  // namespace cleanup
