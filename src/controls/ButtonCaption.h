#pragma once
// How a picture button sizes and places its caption. Portable, so the rules
// are tested natively.
#include <string>
#include <string_view>

#include "ui/Geometry.h"

namespace button {

constexpr int kSmallHeight = 20;
constexpr int kLargeHeight = 28;
constexpr int kPercentHeight = 40;

// A caption ending in "%" is a usage figure on a round dial.
bool IsPercentCaption(std::string_view utf8);

// Font height of a caption: 40 for a percent figure, 28 for the pages'
// big action buttons, 20 for anything else.
int CaptionFontHeight(std::string_view utf8);

// Top-left corner of a caption of cx x cy (measured in its own font) on a
// button of w x h: centred, except that a percent figure sits three sevenths
// of the free width from the left. Truncates toward zero.
geom::Point CaptionOrigin(int w, int h, int cx, int cy, bool percent);

}  // namespace button
