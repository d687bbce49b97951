#pragma once
// DirectoryLister over POSIX, for the native tests and tools. Each folder is
// opened without following a link (O_NOFOLLOW), read to its end and closed;
// where /proc shows the opened folder's real path, a folder below the root
// is listed only when that path lies below the root's.
#include "cleanup/DirectoryLister.h"

namespace cleanup {

class PosixLister : public DirectoryLister {
 public:
  ListResult Read(const std::string& folder, std::vector<DirEntry>& entries) override;
  char Separator() const override { return '/'; }

 private:
  RootAnchor anchor_{'/'};
};

}  // namespace cleanup
