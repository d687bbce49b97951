#pragma once
// The shopping navigation page (page 3).
#include "controls/Page.h"

class ShoppingDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 107;
  ShoppingDlg() : controls::Page(kTemplate) {}
};
