#pragma once
// Reading a small file whole: a list, a browser's Local State, profiles.ini.
#include <cstddef>
#include <optional>
#include <string>

namespace base {

// The bytes of the plain disk file at `path` (UTF-8; any length of path);
// nothing when it is missing, unreadable, not a disk file (a device or a
// pipe is never read) or larger than `limit`.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit);

}  // namespace base
