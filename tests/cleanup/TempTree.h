#pragma once
// Temporary folder trees for the cleanup tests under Wine: files written
// and read with extended-length paths, Linux symbolic links, removal that
// does not follow links.
#include <windows.h>

#include <cstdint>
#include <string>

namespace cleanuptest {

class TempTree {
 public:
  // A fresh folder under the temporary folder.
  explicit TempTree(const std::string& tag);
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& Root() const { return root_; }
  // root + "\" + relative ("\" separated).
  std::string Path(const std::string& relative) const;
  // Writes `bytes` bytes, creating the folders on the way.
  void Write(const std::string& relative, size_t bytes) const;
  void MakeFolder(const std::string& relative) const;

 private:
  std::string root_;
};

// The temporary folder (GetTempPathW) in its long form, without a final "\".
std::string TempFolder();
bool Exists(const std::string& path);
void WriteFile(const std::string& path, size_t bytes);
void MakeFolders(const std::string& path);
// Removes a tree; links are removed, not followed.
void RemoveTree(const std::string& path);
// A Linux symbolic link at `link` to `target` (both Windows paths), as a
// user of the machine could have made; false when it could not be made.
bool MakeLinuxSymlink(const std::string& target, const std::string& link);
// Copies the contents of the folder `from` into the folder `to` with Linux'
// cp, far faster than writing each file through Wine; a file "copied" in
// `to` marks the end.
bool CopyLinuxTree(const std::string& from, const std::string& to);
// Removes a tree with Linux' rm (links removed, not followed).
bool RemoveLinuxTree(const std::string& path);
DWORD Attributes(const std::string& path);

}  // namespace cleanuptest
