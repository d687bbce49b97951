#pragma once
// The files and folders the user keeps: a scan never lists them, nor any
// file under a kept folder. Stored as UTF-8 text, one path per line; lines
// that cannot be read are set aside and written back as they were, so the
// file never ends up holding less than it did.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace cleanup {

// A path as kept paths are compared: "\" separators, no "\\?\" prefix, no
// trailing separator, letters folded to one case (case-insensitive as the
// file system is, beyond ASCII too). Empty for text that is not UTF-8.
std::string KeepKey(std::string_view path);

// "C:", "C:\": a whole drive, which is never kept (it would keep every file
// on it); the message that says so.
bool IsWholeDrive(std::string_view path);
std::string WholeDriveRefusal(const std::string& drive);

class KeepList {
 public:
  // keep.txt's text: LF or CRLF lines, a BOM allowed, blank lines ignored.
  // A line that is not UTF-8 or not a whole path ("C:\..." or "\\server\...")
  // is unreadable.
  static KeepList Parse(std::string_view text);
  // keep.txt's bytes: UTF-8 as Parse takes it, or UTF-16 (little or big
  // endian, by its byte order mark). Nothing for UTF-16 that could not be
  // written back as UTF-8 unchanged: such a file is left alone.
  static std::optional<KeepList> Read(std::string_view bytes);
  // The entries, then the unreadable lines as they were; CRLF line ends.
  std::string Serialize() const;

  const std::vector<std::string>& Entries() const { return entries_; }
  size_t Unreadable() const { return unreadable_.size(); }
  // False when the path is no whole path, a whole drive, or kept already.
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
