#include "base/FileRead.h"

#include <windows.h>

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Text.h"

namespace base {

std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
  FileHandle f(CreateFileW(Wide(ExtendedPath(path)).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!f || GetFileType(f.get()) != FILE_TYPE_DISK || !GetFileSizeEx(f.get(), &size) ||
      static_cast<unsigned long long>(size.QuadPart) > limit)
    return std::nullopt;
  std::string text(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!text.empty() &&
      (!ReadFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr) ||
       read != text.size()))
    return std::nullopt;
  return text;
}

}  // namespace base
