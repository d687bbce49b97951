#include "tools/ShoppingDlg.h"

#include "tools/TilePages.h"
#include "ui/Effects.h"
#include "ui/Gdi.h"
#include "ui/Text.h"

ShoppingDlg::ShoppingDlg()
    : tools::TilePage(kTemplate, tools::kShoppingTiles, tools::kShoppingTileCount) {}

BOOL ShoppingDlg::OnInitDialog() {
  captionFont_ = ui::MakeFont(L"宋体", 12, FW_BOLD);
  return tools::TilePage::OnInitDialog();
}

void ShoppingDlg::PaintCaptions(HDC dc) {
  for (const tools::Caption& g : tools::kShoppingGroups)
    ui::DrawTextAt(dc, g.x, g.y, ui::Wide(g.text), captionFont_.get(), TA_CENTER);
}

void ShoppingDlg::OnTile(int code) {
  if (const char* address = tools::ShoppingAddress(code))
    ui::effects().ShellOpen(address, "", SW_SHOWNORMAL);
}
