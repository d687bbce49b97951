#pragma once
// The alarm clock: rings music\alarm.wav beside the program at the first
// tick of the set minute. Closing an armed alarm only hides it, so it still
// rings; an alarm that is not armed is destroyed when closed.
#include <string>

#include "controls/MirvenDialog.h"
#include "tools/TimeOfDay.h"

class AlarmDlg : public controls::MirvenDialog {
 public:
  static constexpr int kTemplate = 116;
  static constexpr UINT_PTR kTimer = 3;
  AlarmDlg() : controls::MirvenDialog(kTemplate) {}

  bool Armed() const { return trigger_.armed(); }
  // <the program's folder>\music\alarm.wav
  static std::string SoundPath();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  void OnClose() override;
  void OnCancel() override { OnClose(); }
  void OnDestroy() override;

 private:
  void Arm();
  void Ring();

  tools::MinuteTrigger trigger_;
};
