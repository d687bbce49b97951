#pragma once
// DirectoryLister over Win32, with extended-length paths so that folders
// deeper than MAX_PATH are listed too. Each folder is opened as itself (a
// junction or link is not followed), checked to be the folder its parent's
// listing showed, and listed through that same handle.
#include <string>

#include "base/DirectoryLister.h"

namespace base {

class WinLister : public DirectoryLister {
 public:
  ListResult Read(const std::string& folder, uint64_t id, std::vector<DirEntry>& entries) override;
  char Separator() const override { return '\\'; }
};

}  // namespace base
