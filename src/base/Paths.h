#pragma once
// Windows path rules, portable so that they are tested natively. Paths
// are UTF-8 with "\" as separator.
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Last component of a path: one trailing "\" is ignored; a path without
// "\" is its own leaf.
std::string LeafName(std::string_view path);

// The path of an item from the texts of the item and its ancestors, top
// level first ("C:", "Windows", "System32" -> "C:\Windows\System32"). A
// drive alone gives "C:".
std::string JoinItemPath(const std::vector<std::string>& textsFromTop);

// `folder` with exactly one "\" appended unless it already ends in one.
std::string WithSeparator(std::string_view folder);

// The form of an absolute path that the file functions accept at any
// length: "\\?\C:\..." or "\\?\UNC\server\share\...". Already extended and
// relative paths come back unchanged.
std::string ExtendedPath(std::string_view path);

// The pattern that lists every entry of `folder`, in extended form.
std::string ListPattern(std::string_view folder);

// "C:" or "C:\\": a drive's root rather than a folder on it.
bool IsDriveRoot(std::string_view path);

// Case-insensitive three-way comparison of ASCII letters, byte order
// otherwise.
int CompareNoCaseAscii(const std::string& a, const std::string& b);

}  // namespace base
