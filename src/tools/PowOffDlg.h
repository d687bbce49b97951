#pragma once
// The timed shutdown: a ticking clock, a time set with "开始定时", and one
// question a day when the clock reaches that time.
#include "controls/MirvenDialog.h"
#include "tools/TimeOfDay.h"

class PowOffDlg : public controls::MirvenDialog {
 public:
  static constexpr int kTemplate = 113;
  static constexpr UINT_PTR kTimer = 2;
  PowOffDlg() : controls::MirvenDialog(kTemplate) {}

  const tools::ShutdownPlan& plan() const { return plan_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;

 private:
  void ShowClock(const tools::ClockTime& now);

  tools::ShutdownPlan plan_;
};
