#include "controls/Fonts.h"

#include <map>
#include <tuple>

#include "ui/Gdi.h"

namespace controls {

HFONT PageFont(Face face, int height, int weight, bool underline) {
  // Only the window thread makes fonts, so the cache needs no lock.
  static std::map<std::tuple<Face, int, int, bool>, ui::Font>* fonts =
      new std::map<std::tuple<Face, int, int, bool>, ui::Font>;
  ui::Font& font = (*fonts)[{face, height, weight, underline}];
  if (!font)
    font = ui::MakeFont(face == Face::YaHei ? "微软雅黑" : "宋体", height, weight, underline);
  return font.get();
}

}  // namespace controls
