#pragma once
// DirectoryLister over opendir/readdir, for the native tests and tools.
#include "cleanup/DirectoryLister.h"

namespace cleanup {

class PosixLister : public DirectoryLister {
 public:
  bool List(const std::string& folder, const std::function<bool(const DirEntry&)>& visit) override;
  char Separator() const override { return '/'; }
};

}  // namespace cleanup
