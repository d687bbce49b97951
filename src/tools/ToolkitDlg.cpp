#include "tools/ToolkitDlg.h"

#include "controls/Fonts.h"
#include "res/Bitmaps.h"
#include "tools/TilePages.h"
#include "tools/Tools.h"
#include "ui/Gdi.h"

ToolkitDlg::ToolkitDlg() : tools::TilePage(kTemplate, tools::kToolkitTiles, tools::kToolkitTileCount) {}

void ToolkitDlg::PaintCaptions(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  for (const tools::Caption& g : tools::kToolkitGroups) {
    ui::DrawTextAt(dc, g.x, g.y, g.text, controls::PageFont(controls::Face::YaHei, 20, FW_BOLD),
                   TA_CENTER);
    ui::DrawBitmapTo(dc, 0, g.y + 20, client.right, 1, IDB_SEPARATOR);
  }
  for (const tools::Caption& l : tools::kToolkitLabels)
    ui::DrawTextAt(dc, l.x, l.y, l.text, controls::PageFont(controls::Face::YaHei, 16, FW_BOLD),
                   TA_CENTER);
}

void ToolkitDlg::OnTile(int code) { tools::OpenTool(code); }
