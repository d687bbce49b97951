#pragma once
// DirectoryLister over Win32, with extended-length paths so that folders
// deeper than MAX_PATH are listed too. Each folder is opened as itself (a
// junction or link is not followed), checked to be the plain folder below
// the root that the walk expects, and listed through that same handle.
#include <string>

#include "cleanup/DirectoryLister.h"

namespace cleanup {

class WinLister : public DirectoryLister {
 public:
  ListResult Read(const std::string& folder, std::vector<DirEntry>& entries) override;
  char Separator() const override { return '\\'; }

 private:
  RootAnchor anchor_{'\\'};
};

// The name the file system gives an open file or folder, without the drive
// ("\Users\x" for "C:\Users\x"), after any link on the way was followed.
bool NameOfOpenFile(void* handle, std::string& name);
// Whether two such names are the same, as the file system compares them.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace cleanup
