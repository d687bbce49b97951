#pragma once
// The defragment launcher: every drive in a list, and "整理" starts the
// system's own defragmenter on the chosen one, asking for administrator
// rights as it needs them.
#include "controls/MirvenDialog.h"

class DefragmentDlg : public controls::MirvenDialog {
 public:
  static constexpr int kTemplate = 117;
  DefragmentDlg() : controls::MirvenDialog(kTemplate) {}

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void Start();
};
