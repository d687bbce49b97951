#pragma once
// The memory speed-up page (page 5).
#include "controls/Page.h"

class OptDialog : public controls::Page {
 public:
  static constexpr int kTemplate = 120;
  OptDialog() : controls::Page(kTemplate) {}
};
