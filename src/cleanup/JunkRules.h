#pragma once
// Which files count as junk: the extension of the last path component,
// compared with each pattern's key ("*.tmp" has the key "tmp") without
// regard to letter case; "?" in a key stands for exactly one character.
// A name without "." has no extension and is never junk.
#include <string>
#include <string_view>
#include <vector>

namespace cleanup {

class JunkPatterns {
 public:
  JunkPatterns() = default;
  explicit JunkPatterns(std::vector<std::string> patterns) : patterns_(std::move(patterns)) {}

  // The six patterns of the "临时文件" option, in their order.
  static JunkPatterns Defaults();

  bool Empty() const { return patterns_.empty(); }
  const std::vector<std::string>& Patterns() const { return patterns_; }

  // Tests the last component of a path ("\" or "/" separated).
  bool IsJunkFile(std::string_view path) const { return IsJunkName(LeafOf(path)); }
  bool IsJunkName(std::string_view name) const;

  // The part after the last "\" (or "/" when there is none).
  static std::string_view LeafOf(std::string_view path);
  // The part after the last "."; false when the name has none.
  static bool ExtensionOf(std::string_view name, std::string_view& ext);
  // A key against an extension: "?" matches one character (UTF-8), ASCII
  // letters match either case, everything else exactly.
  static bool KeyMatches(std::string_view key, std::string_view ext);

 private:
  std::vector<std::string> patterns_;
};

}  // namespace cleanup
