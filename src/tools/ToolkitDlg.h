#pragma once
// The toolkit page (page 2): seven tiles in two groups that open the tools.
#include "tools/TilePage.h"

class ToolkitDlg : public tools::TilePage {
 public:
  static constexpr int kTemplate = 106;
  ToolkitDlg();

 protected:
  void PaintCaptions(HDC dc) override;
  void OnTile(int code) override;

 private:
  HFONT LabelFont(HDC dc) const;
};
