#pragma once
// The files and folders the user keeps: a scan never lists them, nor any
// file under a kept folder. Stored as UTF-8 text, one path per line; lines
// that cannot be read are set aside and written back as they were, so the
// file never ends up holding less than it did.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace cleanup {

// A path as kept paths are compared: "\" separators, no "\\?\" prefix, no
// trailing separator, letters folded to one case (case-insensitive as the
// file system is, beyond ASCII too). Empty for text that is not UTF-8.
std::string KeepKey(std::string_view path);

class KeepList {
 public:
  // keep.txt's text: LF or CRLF lines, a BOM allowed, blank lines ignored.
  // A line that is not UTF-8 or not a whole path ("C:\..." or "\\server\...")
  // is unreadable.
  static KeepList Parse(std::string_view text);
  // The entries, then the unreadable lines as they were; CRLF line ends.
  std::string Serialize() const;

  const std::vector<std::string>& Entries() const { return entries_; }
  size_t Unreadable() const { return unreadable_.size(); }
  // False when the path is no whole path or is kept already.
  bool Add(const std::string& path);
  bool Remove(size_t index);
  // Whether `file` is kept: itself, or under a kept folder.
  bool Keeps(std::string_view file) const;

 private:
  std::vector<std::string> entries_;
  std::vector<std::string> unreadable_;
  std::unordered_set<std::string> keys_;
};

}  // namespace cleanup
