#pragma once
// The junk cleanup page (page 1).
#include "controls/Page.h"

class CMirvenComputerHelperDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 102;
  CMirvenComputerHelperDlg() : controls::Page(kTemplate) {}
};
