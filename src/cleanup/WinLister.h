#pragma once
// DirectoryLister over FindFirstFileExW, with extended-length paths so that
// folders deeper than MAX_PATH are listed too.
#include "cleanup/DirectoryLister.h"

namespace cleanup {

class WinLister : public DirectoryLister {
 public:
  bool List(const std::string& folder, const std::function<bool(const DirEntry&)>& visit) override;
  char Separator() const override { return '\\'; }
};

}  // namespace cleanup
