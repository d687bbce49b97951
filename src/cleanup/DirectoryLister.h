#pragma once
// The one thing the walks need from the file system: the entries of a
// folder. Implemented over Win32 for the program and over POSIX for the
// native tests and tools.
#include <cstdint>
#include <functional>
#include <string>

namespace cleanup {

struct DirEntry {
  std::string name;  // UTF-8, never "." or ".."
  bool directory = false;
  // Junctions, symbolic links, mount points: never walked into.
  bool reparsePoint = false;
  uint64_t size = 0;
  // The last-write time in the lister's own unit; only compared for equality.
  uint64_t lastWrite = 0;
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Calls `visit` for each entry of `folder` until it returns false.
  // Returns false when the folder could not be listed at all.
  virtual bool List(const std::string& folder,
                    const std::function<bool(const DirEntry&)>& visit) = 0;
  virtual char Separator() const = 0;
};

// folder + separator + name, without doubling a separator the folder ends in.
std::string JoinPath(const std::string& folder, const std::string& name, char separator);

}  // namespace cleanup
