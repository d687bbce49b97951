#include "controls/ButtonCaption.h"

namespace button {
namespace {
constexpr std::string_view kLargeCaptions[] = {"立即扫描", "重新扫描", "开始体检", "停止体检",
                                               "立即加速"};
}  // namespace

bool IsPercentCaption(std::string_view utf8) { return !utf8.empty() && utf8.back() == '%'; }

int CaptionFontHeight(std::string_view utf8) {
  if (IsPercentCaption(utf8)) return kPercentHeight;
  for (std::string_view large : kLargeCaptions)
    if (utf8 == large) return kLargeHeight;
  return kSmallHeight;
}

geom::Point CaptionOrigin(int w, int h, int cx, int cy, bool percent) {
  int x = percent ? (w - cx) * 3 / 7 : (w - cx) / 2;
  return geom::Point{x, (h - cy) / 2};
}

}  // namespace button
