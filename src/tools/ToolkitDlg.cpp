#include "tools/ToolkitDlg.h"

#include "tools/TilePages.h"
#include "tools/Tools.h"
#include "ui/Gdi.h"
#include "ui/Text.h"

ToolkitDlg::ToolkitDlg() : tools::TilePage(kTemplate, tools::kToolkitTiles, tools::kToolkitTileCount) {}

BOOL ToolkitDlg::OnInitDialog() {
  titleFont_ = ui::MakeFont(L"微软雅黑", 20, FW_BOLD);
  labelFont_ = ui::MakeFont(L"微软雅黑", 16, FW_BOLD);
  return tools::TilePage::OnInitDialog();
}

void ToolkitDlg::PaintCaptions(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  for (const tools::Caption& g : tools::kToolkitGroups) {
    ui::DrawTextAt(dc, g.x, g.y, ui::Wide(g.text), titleFont_.get(), TA_CENTER);
    ui::DrawBitmapTo(dc, 0, g.y + 20, client.right, 1, tools::kSeparatorBitmap);
  }
  for (const tools::Caption& l : tools::kToolkitLabels)
    ui::DrawTextAt(dc, l.x, l.y, ui::Wide(l.text), labelFont_.get(), TA_CENTER);
}

void ToolkitDlg::OnTile(int code) { tools::OpenTool(code); }
