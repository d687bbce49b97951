#include "cleanup/PosixItemSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace cleanup {

std::optional<DeleteResult> PosixDeleter::Recheck(const std::string& path,
                                                  const FileIdentity& seen) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return DeleteResult::kGone;
  const uint64_t written = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                           static_cast<uint64_t>(st.st_mtim.tv_nsec);
  if (!S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) != seen.size ||
      written != seen.lastWrite)
    return DeleteResult::kChanged;
  return std::nullopt;
}

DeleteResult PosixDeleter::DeleteIfUnchanged(const std::string& path, const FileIdentity& seen) {
  if (auto refused = Recheck(path, seen)) return *refused;
  return unlink(path.c_str()) == 0 ? DeleteResult::kDeleted : DeleteResult::kRefused;
}

std::optional<std::string> PosixItemSystem::ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool PosixItemSystem::RemoveEmptyFolder(const std::string& folder) {
  return rmdir(folder.c_str()) == 0;
}

DbOutcome PosixItemSystem::CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return cleanup::CountRows(db, path, keep);
}

DbOutcome PosixItemSystem::ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return cleanup::ClearRows(db, path, keep);
}

}  // namespace cleanup
