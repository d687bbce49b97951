#include "controls/Fonts.h"

#include <map>
#include <tuple>

#include "ui/Gdi.h"

namespace controls {

HFONT PageFont(Face face, int height, int weight, int dpi, bool underline) {
  // Only the window thread makes fonts, so the cache needs no lock.
  static std::map<std::tuple<Face, int, int, bool>, ui::Font>* fonts =
      new std::map<std::tuple<Face, int, int, bool>, ui::Font>;
  const int pixels = geom::Scale(height, dpi);
  ui::Font& font = (*fonts)[{face, pixels, weight, underline}];
  if (!font)
    font = ui::MakeFont(face == Face::YaHei ? "微软雅黑" : "宋体", pixels, weight, underline);
  return font.get();
}

HFONT PageFont(const FontStyle& style, int dpi) {
  return PageFont(style.face, style.height, style.weight, dpi, style.underline);
}

}  // namespace controls
