#pragma once
// The one thing the walks need from the file system: the entries of a
// folder. Implemented over Win32 for the program and over POSIX for the
// native tests and tools.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

enum class ListResult {
  kListed,
  kUnreadable,  // could not be opened or read: access denied, gone, path too long
  kNotFolder,   // no longer a plain folder under the walk's root: a link or junction now
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;

  // Reads every entry of `folder` into `entries` (replacing what was there)
  // and closes the folder before returning, so a walk holds at most one
  // folder open. The folder is opened without following links, and only
  // when it is still a plain folder where the walk expects it: the first
  // folder a lister reads is the root of its walk, and every later one
  // below that root must really lie below it. One lister serves one walk
  // at a time.
  virtual ListResult Read(const std::string& folder, std::vector<DirEntry>& entries) = 0;
  virtual char Separator() const = 0;

  // Calls `visit` for each entry of `folder` until it returns false.
  // Returns false when the folder could not be listed at all.
  bool List(const std::string& folder, const std::function<bool(const DirEntry&)>& visit);
};

// folder + separator + name, without doubling a separator the folder ends in.
std::string JoinPath(const std::string& folder, const std::string& name, char separator);

// Where a lister's walk is rooted: the root as the walk names it and the
// name the file system gives the opened root, so that a folder below it
// can be checked against the name it must have, wherever the root itself
// lies (a mapped drive, a folder below a junction).
class RootAnchor {
 public:
  explicit RootAnchor(char separator) : separator_(separator) {}
  // The real name `folder` must have; false when it is not below the
  // anchored root (it then starts a walk of its own: call Set).
  bool Expected(const std::string& folder, std::string& expected) const;
  void Set(const std::string& root, const std::string& realName);

 private:
  char separator_;
  bool set_ = false;
  std::string root_, realName_;
};

}  // namespace cleanup
