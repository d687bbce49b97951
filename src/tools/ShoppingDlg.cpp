#include "tools/ShoppingDlg.h"

#include "controls/Fonts.h"
#include "tools/TilePages.h"
#include "ui/Effects.h"
#include "ui/Gdi.h"

ShoppingDlg::ShoppingDlg()
    : tools::TilePage(kTemplate, tools::kShoppingTiles, tools::kShoppingTileCount) {}

void ShoppingDlg::PaintCaptions(HDC dc) {
  for (const tools::Caption& g : tools::kShoppingGroups)
    ui::DrawTextAt(dc, S(g.x), S(g.y), g.text,
                   controls::PageFont(controls::kTitleFont, dpi_), TA_CENTER);
}

void ShoppingDlg::OnTile(int code) {
  if (const char* address = tools::ShoppingAddress(code))
    ui::effects().ShellOpen(address, "", SW_SHOWNORMAL);
}
