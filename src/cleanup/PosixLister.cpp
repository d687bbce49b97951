#include "cleanup/PosixLister.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace cleanup {

bool PosixLister::List(const std::string& folder,
                       const std::function<bool(const DirEntry&)>& visit) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  const int fd = dirfd(dir);
  DirEntry e;
  while (dirent* d = readdir(dir)) {
    const char* n = d->d_name;
    if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
    e.name = n;
    e.size = 0;
    e.lastWrite = 0;
    unsigned char type = d->d_type;
    struct stat st;
    bool haveStat = false;
    if (type == DT_UNKNOWN || type == DT_REG) {
      haveStat = fstatat(fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0;
      if (!haveStat) continue;  // gone since the listing
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
    }
    e.reparsePoint = type == DT_LNK;
    e.directory = type == DT_DIR;
    if (haveStat && !e.directory) {
      e.size = static_cast<uint64_t>(st.st_size);
      e.lastWrite = static_cast<uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                    static_cast<uint64_t>(st.st_mtim.tv_nsec);
    }
    if (!visit(e)) break;
  }
  closedir(dir);
  return true;
}

}  // namespace cleanup
