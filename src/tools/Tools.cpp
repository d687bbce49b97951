#include "tools/Tools.h"

#include "controls/MirvenDialog.h"
#include "res/resource.h"
#include "tools/AlarmDlg.h"
#include "tools/CarriedProgram.h"
#include "tools/DefragmentDlg.h"
#include "tools/PowOffDlg.h"
#include "tools/TaxDlg.h"
#include "tools/TilePages.h"

namespace tools {

void OpenShutdown() { controls::MirvenDialog::Open<PowOffDlg>("定时关机"); }
void OpenAlarm() { controls::MirvenDialog::Open<AlarmDlg>("Mirven闹钟"); }
void OpenDefrag() { controls::MirvenDialog::Open<DefragmentDlg>("磁盘碎片整理"); }
void OpenTax() { controls::MirvenDialog::Open<TaxDlg>("个税计算器"); }
void StartCalculator() { StartCarriedProgram(IDR_CALCULATOR_EXE, "calculator.exe"); }
void StartClock() { StartCarriedProgram(IDR_CLOCK_EXE, "Clock.exe"); }

void OpenTool(int code) {
  switch (code) {
    case kToolShutdown: return OpenShutdown();
    case kToolAlarm: return OpenAlarm();
    case kToolDefrag: return OpenDefrag();
    case kToolTax: return OpenTax();
    case kToolEmail: return OpenEmail();
    case kToolCalculator: return StartCalculator();
    case kToolClock: return StartClock();
    default: return;
  }
}

bool RequestPower(HWND owner, ui::PowerAction action) {
  if (ui::effects().RequestPower(action)) return true;
  Tell(owner, action == ui::PowerAction::Restart ? "重启失败：系统拒绝了重启请求。"
                                                 : "关机失败：系统拒绝了关机请求。");
  return false;
}

ClockTime LocalClock() {
  SYSTEMTIME t = ui::effects().LocalTime();
  return ClockTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void Tell(HWND owner, const std::string& text, UINT icon) {
  ui::effects().ShowMessage(owner, text, "Mirven电脑助手", MB_OK | icon);
}

}  // namespace tools
