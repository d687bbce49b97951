#pragma once
// The one thing the walks need from the file system: the entries of a
// folder. Implemented over Win32 for the program and over POSIX for the
// native tests and tools.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace base {

struct DirEntry {
  std::string name;  // UTF-8, never "." or ".."
  bool directory = false;
  // Junctions, symbolic links, mount points: never walked into.
  bool reparsePoint = false;
  uint64_t size = 0;
  // The last-write time in the lister's own unit; only compared for equality.
  uint64_t lastWrite = 0;
  // The file system's number of the entry (inode, file id); 0 when unknown.
  uint64_t id = 0;
  // Marked hidden by the file system (never set over POSIX).
  bool hidden = false;
};

enum class ListResult {
  kListed,
  kUnreadable,  // could not be opened or read: access denied, gone, path too long
  kNotFolder,   // no longer the plain folder that was listed: a link or junction now
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;

  // Reads every entry of `folder` into `entries` (replacing what was there)
  // and closes the folder before returning, so a walk holds at most one
  // folder open. The folder is opened without following a link, and read
  // only while it is a plain folder and, when `id` is not 0, the very
  // folder its parent's listing showed with that id: a folder above it
  // swapped for a link would lead elsewhere.
  virtual ListResult Read(const std::string& folder, uint64_t id,
                          std::vector<DirEntry>& entries) = 0;
  virtual char Separator() const = 0;

  // Calls `visit` for each entry of `folder` until it returns false.
  // Returns false when the folder could not be listed at all.
  bool List(const std::string& folder, const std::function<bool(const DirEntry&)>& visit);
};

// folder + separator + name, without doubling a separator the folder ends in.
std::string JoinPath(const std::string& folder, const std::string& name, char separator);

}  // namespace base
