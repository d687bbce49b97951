#include "base/DirectoryLister.h"

namespace base {

std::string JoinPath(const std::string& folder, const std::string& name, char separator) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path = folder;
  if (path.empty() || path.back() != separator) path += separator;
  path += name;
  return path;
}

bool DirectoryLister::List(const std::string& folder,
                           const std::function<bool(const DirEntry&)>& visit) {
  std::vector<DirEntry> entries;
  if (Read(folder, 0, entries) != ListResult::kListed) return false;
  for (const DirEntry& e : entries)
    if (!visit(e)) break;
  return true;
}

}  // namespace base
