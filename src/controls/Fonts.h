#pragma once
// The program's fonts: headlines in "微软雅黑", small captions in "宋体".
// Each one is created the first time it is asked for, at the pixel height
// its design height has at the given DPI, and kept until the process ends,
// so windows share them instead of each making its own.
#include <windows.h>

#include "controls/PageLayout.h"

namespace controls {

HFONT PageFont(const FontStyle& style, int dpi);
HFONT PageFont(Face face, int height, int weight, int dpi, bool underline = false);

}  // namespace controls
