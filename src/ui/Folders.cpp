#include "ui/Folders.h"

#include "ui/Text.h"

namespace ui {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) result = Utf8(path);
  CoTaskMemFree(path);
  return result;
}

}  // namespace ui
