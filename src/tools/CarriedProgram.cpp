#include "tools/CarriedProgram.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "tools/Tools.h"
#include "ui/Handles.h"
#include "base/Text.h"

namespace tools {

namespace {

using File = base::FileHandle;

bool SameContents(const std::wstring& path, const void* data, DWORD size) {
  File f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER length{};
  if (!f || !GetFileSizeEx(f.get(), &length) || length.QuadPart != size) return false;
  std::vector<char> bytes(size);
  DWORD read = 0;
  if (size && (!ReadFile(f.get(), bytes.data(), size, &read, nullptr) || read != size))
    return false;
  return size == 0 || std::memcmp(bytes.data(), data, size) == 0;
}

// Writes beside the target and moves the copy over it, so a failed write
// never leaves a broken program behind.
bool WriteWhole(const std::wstring& path, const void* data, DWORD size) {
  std::wstring temp = path + L".new";
  bool ok = false;
  {
    File f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ok = f && (size == 0 || (WriteFile(f.get(), data, size, &written, nullptr) && written == size));
  }
  if (ok) ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace

std::string CarriedProgramFolder() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, base)))
    return {};
  std::wstring folder = std::wstring(base) + L"\\Mirven";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return {};
  return base::Utf8(folder);
}

bool StartCarriedProgram(int id, const std::string& fileName) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"EXE");
  if (!found) {
    Tell(nullptr, "没有找到资源 ");
    return false;
  }
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (!loaded) {
    Tell(nullptr, "加载资源失败 ");
    return false;
  }
  const void* data = LockResource(loaded);
  DWORD size = SizeofResource(nullptr, found);
  if (!data) {
    Tell(nullptr, "不能加载内存 ");
    return false;
  }
  std::string folder = CarriedProgramFolder();
  std::string path = folder + "\\" + fileName;
  std::wstring wide = base::Wide(path);
  if (folder.empty() || (!SameContents(wide, data, size) && !WriteWhole(wide, data, size))) {
    Tell(nullptr, "无法写入程序文件：" + path + "\n如果该程序正在运行，请关闭它后再试。");
    return false;
  }
  if (DWORD error = ui::effects().ShellRun(nullptr, "open", path, "", SW_SHOWNORMAL)) {
    Tell(nullptr, "无法启动程序：" + path + "（错误 " + std::to_string(error) + "）");
    return false;
  }
  return true;
}

}  // namespace tools
