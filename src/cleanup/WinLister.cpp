#include "cleanup/WinLister.h"

#include <windows.h>

#include "controls/TreePaths.h"
#include "ui/Text.h"

namespace cleanup {

bool WinLister::List(const std::string& folder,
                     const std::function<bool(const DirEntry&)>& visit) {
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileExW(ui::Wide(tree::ListPattern(folder)).c_str(), FindExInfoBasic,
                                 &fd, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return false;
  DirEntry e;
  do {
    const wchar_t* n = fd.cFileName;
    if (n[0] == L'.' && (n[1] == L'\0' || (n[1] == L'.' && n[2] == L'\0'))) continue;
    e.name = ui::Utf8(n);
    e.directory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    e.reparsePoint = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    e.size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    e.lastWrite = (static_cast<uint64_t>(fd.ftLastWriteTime.dwHighDateTime) << 32) |
                  fd.ftLastWriteTime.dwLowDateTime;
    if (!visit(e)) break;
  } while (FindNextFileW(find, &fd));
  FindClose(find);
  return true;
}

}  // namespace cleanup
