#include "tools/AlarmDlg.h"

#include "res/resource.h"
#include "tools/Tools.h"
#include "base/Text.h"

std::string AlarmDlg::SoundPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.resize(path.find_last_of(L'\\') + 1);
  return base::Utf8(path) + "music\\alarm.wav";
}

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_ALARM_TEXT1, 24, 35, 77, 18},
    {IDC_ALARM_HOUR, 105, 32, 42, 23},
    {IDC_ALARM_TEXT2, 152, 35, 18, 18},
    {IDC_ALARM_MINUTE, 175, 32, 42, 23},
    {IDC_ALARM_TEXT3, 222, 35, 18, 18},
    {IDC_ALARM_SECOND, 245, 32, 42, 23},
    {IDC_ALARM_TEXT4, 292, 35, 18, 18},
    {IDC_ALARM_SET, 77, 80, 88, 26},
    {IDC_ALARM_STOP, 186, 80, 88, 26},
};
}  // namespace

BOOL AlarmDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetLayout(controls::Layout(350, 133, kLayout));
  SetText("Mirven闹钟");
  for (int id : {IDC_ALARM_HOUR, IDC_ALARM_MINUTE, IDC_ALARM_SECOND}) SetItemInt(id, 0);
  return TRUE;
}

bool AlarmDlg::OnCommand(int id, int, HWND) {
  if (id == IDC_ALARM_SET) {
    Arm();
    return true;
  }
  if (id == IDC_ALARM_STOP) {
    ui::effects().PlaySoundFile("");
    return true;
  }
  return false;
}

void AlarmDlg::Arm() {
  tools::TimeInput in = tools::ReadTimeOfDay(ItemText(IDC_ALARM_HOUR), ItemText(IDC_ALARM_MINUTE),
                                             ItemText(IDC_ALARM_SECOND));
  if (!in.error.empty()) return tools::Tell(hwnd_, in.error);
  trigger_.Set(in.hour, in.minute);
  SetTimer(hwnd_, kTimer, 1000, nullptr);
}

void AlarmDlg::OnTimer(UINT_PTR id) {
  if (id != kTimer) {
    Default();
    return;
  }
  if (trigger_.Tick(tools::LocalClock())) Ring();
}

void AlarmDlg::Ring() {
  KillTimer(hwnd_, kTimer);
  trigger_.Clear();
  // A closed alarm comes back, so that "停止" is at hand.
  if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (!ui::effects().PlaySoundFile(SoundPath()))
    tools::Tell(hwnd_, "闹钟时间到了！", MB_ICONINFORMATION);
}

void AlarmDlg::OnClose() {
  if (Armed())
    ShowWindow(hwnd_, SW_HIDE);
  else
    EndDialog(IDCANCEL);
}

void AlarmDlg::OnDestroy() {
  KillTimer(hwnd_, kTimer);
  Default();
}
