#include "tools/ToolkitDlg.h"

#include "controls/Fonts.h"
#include "res/Bitmaps.h"
#include "tools/TilePages.h"
#include "tools/Tools.h"
#include "ui/Gdi.h"
#include "base/Text.h"

ToolkitDlg::ToolkitDlg()
    : tools::TilePage(kTemplate, tools::kToolkitTiles, tools::kToolkitTileCount) {}

void ToolkitDlg::PaintCaptions(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  for (const tools::Caption& g : tools::kToolkitGroups) {
    ui::DrawTextAt(dc, S(g.x), S(g.y), g.text,
                   controls::PageFont(controls::Face::YaHei, 20, FW_BOLD, dpi_), TA_CENTER);
    ui::DrawBitmapTo(dc, 0, S(g.y + 20), client.right, S(1), IDB_SEPARATOR, dpi_);
  }
  HFONT label = LabelFont(dc);
  for (const tools::Caption& l : tools::kToolkitLabels)
    ui::DrawTextAt(dc, S(l.x), S(l.y), l.text, label, TA_CENTER);
}

// The labels' size: 16 pixels unless two neighbouring labels would then
// run into each other; all labels take the same size.
HFONT ToolkitDlg::LabelFont(HDC dc) const {
  constexpr std::size_t n = tools::kToolkitTileCount;
  for (int height = 16;; --height) {
    HFONT font = controls::PageFont(controls::Face::YaHei, height, FW_BOLD, dpi_);
    if (height == 12) return font;
    ui::SelectGuard select(dc, font);
    int width[n] = {};
    for (std::size_t i = 0; i < n; ++i) {
      std::wstring text = base::Wide(tools::kToolkitLabels[i].text);
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      width[i] = size.cx;
    }
    bool fits = true;
    for (std::size_t i = 0; i + 1 < n; ++i) {
      const tools::Caption &a = tools::kToolkitLabels[i], &b = tools::kToolkitLabels[i + 1];
      if (a.y == b.y && (width[i] + width[i + 1]) / 2 > S(b.x - a.x - 4)) fits = false;
    }
    if (fits) return font;
  }
}

void ToolkitDlg::OnTile(int code) { tools::OpenTool(code); }
