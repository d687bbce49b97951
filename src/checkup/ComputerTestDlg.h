#pragma once
// The computer check-up page (page 4).
#include "controls/Page.h"

class ComputerTestDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 119;
  ComputerTestDlg() : controls::Page(kTemplate) {}
};
