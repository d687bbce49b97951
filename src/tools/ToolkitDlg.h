#pragma once
// The toolkit page (page 2).
#include "controls/Page.h"

class ToolkitDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 106;
  ToolkitDlg() : controls::Page(kTemplate) {}
};
