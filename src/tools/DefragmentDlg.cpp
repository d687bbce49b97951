#include "tools/DefragmentDlg.h"

#include <string>

#include "res/resource.h"
#include "tools/DefragCommand.h"
#include "tools/Tools.h"
#include "base/Text.h"

namespace {

std::string WindowsFolder() {
  std::wstring dir(GetSystemWindowsDirectoryW(nullptr, 0), L'\0');
  dir.resize(GetSystemWindowsDirectoryW(dir.data(), static_cast<UINT>(dir.size())));
  return base::Utf8(dir);
}

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_DEFRAG_TEXT1, 21, 38, 122, 18},
    {IDC_DEFRAG_DRIVES, 147, 35, 98, 210},
    {IDC_DEFRAG_START, 259, 33, 70, 26},
};
}  // namespace

BOOL DefragmentDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetLayout(controls::Layout(350, 112, kLayout));
  std::wstring list(GetLogicalDriveStringsW(0, nullptr), L'\0');
  list.resize(GetLogicalDriveStringsW(static_cast<DWORD>(list.size()), list.data()));
  HWND box = Item(IDC_DEFRAG_DRIVES);
  for (const std::string& root : tools::SplitDriveList(base::Utf8(list)))
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(base::Wide(root).c_str()));
  SetComboIndex(IDC_DEFRAG_DRIVES, 0);
  return TRUE;
}

bool DefragmentDlg::OnCommand(int id, int, HWND) {
  if (id != IDC_DEFRAG_START) return false;
  Start();
  return true;
}

void DefragmentDlg::Start() {
  std::string drive = tools::DefragDrive(ItemText(IDC_DEFRAG_DRIVES));
  if (drive.empty()) return tools::Tell(hwnd_, "请选择要整理的磁盘。");
  std::string program = tools::DefragProgram(WindowsFolder(), IsWow64());
  DWORD error = ui::effects().ShellRun(hwnd_, "runas", program, drive, SW_SHOW);
  if (error == ERROR_CANCELLED)
    tools::Tell(hwnd_, "磁盘碎片整理需要管理员权限，已取消。");
  else if (error)
    tools::Tell(hwnd_, "无法启动磁盘碎片整理程序（错误 " + std::to_string(error) + "）。");
}
