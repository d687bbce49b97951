#include "base/PosixLister.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

ListResult PosixLister::Read(const std::string& folder, uint64_t id,
                             std::vector<DirEntry>& entries) {
  entries.clear();
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0)
    return errno == ELOOP || errno == ENOTDIR ? ListResult::kNotFolder : ListResult::kUnreadable;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) {
    close(fd);
    return ListResult::kNotFolder;
  }
  // A folder above this one swapped for a link leads elsewhere: what was
  // opened is then not the folder the parent's listing showed.
  if (id != 0 && static_cast<uint64_t>(st.st_ino) != id) {
    close(fd);
    return ListResult::kNotFolder;
  }
  DIR* dir = fdopendir(fd);
  if (!dir) {
    close(fd);
    return ListResult::kUnreadable;
  }
  DirEntry e;
  while (dirent* d = readdir(dir)) {
    const char* n = d->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    e.name = n;
    e.size = 0;
    e.lastWrite = 0;
    unsigned char type = d->d_type;
    bool haveStat = false;
    if (type == DT_UNKNOWN || type == DT_REG || type == DT_DIR) {
      haveStat = fstatat(fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0;
      if (!haveStat) continue;  // gone since the listing
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
    }
    e.reparsePoint = type == DT_LNK;
    e.directory = type == DT_DIR;
    e.id = haveStat ? static_cast<uint64_t>(st.st_ino) : 0;
    if (haveStat && !e.directory) {
      e.size = static_cast<uint64_t>(st.st_size);
      e.lastWrite = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                    static_cast<uint64_t>(st.st_mtim.tv_nsec);
    }
    entries.push_back(e);
  }
  closedir(dir);  // closes fd
  return ListResult::kListed;
}

}  // namespace base
