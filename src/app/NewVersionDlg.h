#pragma once
// The notes on what is new in this version.
#include "controls/MirvenDialog.h"
#include "res/resource.h"

class NewVersionDlg : public controls::MirvenDialog {
 public:
  NewVersionDlg() : controls::MirvenDialog(IDD_NEW_VERSION) {}

 protected:
  BOOL OnInitDialog() override;
};
