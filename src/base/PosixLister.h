#pragma once
// DirectoryLister over POSIX, for the native tests and tools. Each folder is
// opened without following a link (O_NOFOLLOW), checked to be the folder
// (by inode) that its parent's listing showed, read to its end and closed.
#include "base/DirectoryLister.h"

namespace base {

class PosixLister : public DirectoryLister {
 public:
  ListResult Read(const std::string& folder, uint64_t id, std::vector<DirEntry>& entries) override;
  char Separator() const override { return '/'; }
};

}  // namespace base
