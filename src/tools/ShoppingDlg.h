#pragma once
// The shopping page (page 3): seventeen tiles in two groups that open the
// shops' home pages in the browser.
#include "tools/TilePage.h"

class ShoppingDlg : public tools::TilePage {
 public:
  static constexpr int kTemplate = 107;
  ShoppingDlg();

 protected:
  void PaintCaptions(HDC dc) override;
  void OnTile(int code) override;
};
