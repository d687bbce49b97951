#pragma once
// The program's fonts: headlines in "微软雅黑", small captions in "宋体".
// Each one is created the first time it is asked for and kept until the
// process ends, so windows share them instead of each making its own.
#include <windows.h>

namespace controls {

enum class Face { YaHei, Song };

HFONT PageFont(Face face, int height, int weight, bool underline = false);

}  // namespace controls
