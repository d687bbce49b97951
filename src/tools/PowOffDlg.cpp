#include "tools/PowOffDlg.h"

#include "res/resource.h"
#include "tools/Tools.h"

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_POWOFF_NOW_LABEL, 28, 32, 77, 18},
    {IDC_POWOFF_NOW_HOUR, 108, 28, 46, 23},
    {IDC_POWOFF_TEXT1, 158, 32, 14, 18},
    {IDC_POWOFF_NOW_MINUTE, 175, 28, 46, 23},
    {IDC_POWOFF_TEXT2, 224, 32, 14, 18},
    {IDC_POWOFF_NOW_SECOND, 242, 28, 46, 23},
    {IDC_POWOFF_AT_LABEL, 28, 70, 77, 18},
    {IDC_POWOFF_HOUR, 108, 66, 46, 23},
    {IDC_POWOFF_TEXT3, 158, 70, 14, 18},
    {IDC_POWOFF_MINUTE, 175, 66, 46, 23},
    {IDC_POWOFF_TEXT4, 224, 70, 14, 18},
    {IDC_POWOFF_SECOND, 242, 66, 46, 23},
    {IDC_POWOFF_START, 126, 112, 91, 28},
};
}  // namespace

BOOL PowOffDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetLayout(controls::Layout(343, 161, kLayout));
  SetText("定时关机");
  ShowClock(tools::LocalClock());
  for (int id : {IDC_POWOFF_HOUR, IDC_POWOFF_MINUTE, IDC_POWOFF_SECOND}) SetItemText(id, "00");
  SetTimer(hwnd_, kTimer, 1000, nullptr);
  return TRUE;
}

void PowOffDlg::ShowClock(const tools::ClockTime& now) {
  SetItemInt(IDC_POWOFF_NOW_HOUR, now.hour);
  SetItemInt(IDC_POWOFF_NOW_MINUTE, now.minute);
  SetItemInt(IDC_POWOFF_NOW_SECOND, now.second);
}

bool PowOffDlg::OnCommand(int id, int, HWND) {
  if (id != IDC_POWOFF_START) return false;
  std::string error = plan_.Set(ItemText(IDC_POWOFF_HOUR), ItemText(IDC_POWOFF_MINUTE));
  if (!error.empty()) tools::Tell(hwnd_, error);
  return true;
}

void PowOffDlg::OnTimer(UINT_PTR id) {
  if (id != kTimer) {
    Default();
    return;
  }
  tools::ClockTime now = tools::LocalClock();
  ShowClock(now);
  // The plan asks once in the set minute, so ticks during the question
  // (its box runs its own message loop) do not ask again.
  if (!plan_.Tick(now)) return;
  if (ui::effects().ShowMessage(hwnd_, "您确定要关机吗？", "定时关机提醒-Mirven电脑助手",
                                MB_YESNO | MB_ICONQUESTION) == IDNO)
    return;
  tools::RequestPower(hwnd_, ui::PowerAction::PowerOff);
}

void PowOffDlg::OnDestroy() {
  KillTimer(hwnd_, kTimer);
  Default();
}
