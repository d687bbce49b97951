#include "ui/Effects.h"

#include <mmsystem.h>
#include <shellapi.h>

#include "base/Seam.h"
#include "base/Text.h"

namespace ui {

int Effects::ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                         UINT style) {
  return MessageBoxW(owner, base::Wide(text).c_str(), base::Wide(caption).c_str(), style);
}

// Not std::exit: static destructors would run while workers still use
// what they destroy, and would wait for them.
void Effects::ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

bool Effects::ShellOpen(const std::string& file, const std::string& params, int show) {
  auto r = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, nullptr, base::Wide(file).c_str(),
                                                   params.empty() ? nullptr : base::Wide(params).c_str(),
                                                   nullptr, show));
  return r > 32;
}

bool Effects::RequestPower(PowerAction action) {
  // Shutting down needs SE_SHUTDOWN_NAME enabled in our own token.
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid))
      AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr);
    CloseHandle(token);
  }
  UINT flags = action == PowerAction::Restart ? EWX_REBOOT : EWX_POWEROFF;
  return ExitWindowsEx(flags, SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED) != 0;
}

DWORD Effects::ShellRun(HWND owner, const std::string& verb, const std::string& file,
                        const std::string& params, int show) {
  std::wstring v = base::Wide(verb), f = base::Wide(file), p = base::Wide(params);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = v.c_str();
  info.lpFile = f.c_str();
  info.lpParameters = p.empty() ? nullptr : p.c_str();
  info.nShow = show;
  if (ShellExecuteExW(&info)) return 0;
  DWORD error = GetLastError();
  return error ? error : ERROR_FILE_NOT_FOUND;
}

bool Effects::PlaySoundFile(const std::string& path) {
  if (path.empty()) return PlaySoundW(nullptr, nullptr, 0) != FALSE;
  return PlaySoundW(base::Wide(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

SYSTEMTIME Effects::LocalTime() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return t;
}

namespace {
base::Seam<Effects> seam;
}  // namespace

Effects& effects() { return seam.Get(); }
Effects* SetEffects(Effects* e) { return seam.Set(e); }

}  // namespace ui
