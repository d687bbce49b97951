#include "cleanup/PosixItemSystem.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace cleanup {

namespace {

// A folder as a descriptor opened without following a link, and a
// descriptor of its parent to remove it by.
class PosixFolder : public ItemFolder {
 public:
  PosixFolder(int fd, int parent, std::string name)
      : fd_(fd), parent_(parent), name_(std::move(name)) {}
  ~PosixFolder() override {
    close(fd_);
    if (parent_ >= 0) close(parent_);
  }

  static std::unique_ptr<ItemFolder> At(int parent, const std::string& name) {
    const int fd = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return nullptr;
    const int up = parent == AT_FDCWD ? -1 : fcntl(parent, F_DUPFD_CLOEXEC, 0);
    return std::make_unique<PosixFolder>(fd, up, name);
  }

  std::unique_ptr<ItemFolder> Open(const std::string& name) override { return At(fd_, name); }

  DeleteResult Delete(const std::string& name) override {
    if (unlinkat(fd_, name.c_str(), 0) == 0) return DeleteResult::kDeleted;
    if (errno == ENOENT) return DeleteResult::kGone;
    return errno == EISDIR ? DeleteResult::kChanged : DeleteResult::kRefused;
  }

  void RemoveIfEmpty() override {
    if (parent_ >= 0) unlinkat(parent_, name_.c_str(), AT_REMOVEDIR);
  }

 private:
  int fd_;
  int parent_;  // -1 for a folder opened by its path: never removed
  std::string name_;
};

}  // namespace

std::unique_ptr<ItemFolder> PosixItemSystem::OpenFolder(const std::string& path) {
  return PosixFolder::At(AT_FDCWD, path);
}

std::optional<std::string> PosixItemSystem::ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

DbOutcome PosixItemSystem::CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return cleanup::CountRows(db, path, keep);
}

DbOutcome PosixItemSystem::ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) {
  return cleanup::ClearRows(db, path, keep);
}

}  // namespace cleanup
