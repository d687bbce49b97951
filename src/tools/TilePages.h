#pragma once
// What the toolkit page (page 2) and the shopping page (page 3) show:
// their tiles, captions and what each tile opens.
#include <cstddef>

#include "tools/Tiles.h"

namespace tools {

// Toolkit tile codes.
enum ToolCode : int {
  kToolShutdown = 1,
  kToolAlarm = 2,
  kToolDefrag = 3,
  kToolTax = 101,
  kToolEmail = 102,
  kToolCalculator = 103,
  kToolClock = 104,
};

struct Caption {
  const char* text;
  int x, y;  // centred on x, top at y
};

inline constexpr std::size_t kToolkitTileCount = 7;
// Toolkit tiles stand 74 pixels apart: a 64-pixel picture and a 10-pixel gap.
inline constexpr int kToolkitPitch = 74;
extern const tiles::Tile kToolkitTiles[kToolkitTileCount];
extern const Caption kToolkitLabels[kToolkitTileCount];
// Group titles, each with a separator line 20 pixels below it.
extern const Caption kToolkitGroups[2];

inline constexpr std::size_t kShoppingTileCount = 17;
extern const tiles::Tile kShoppingTiles[kShoppingTileCount];
extern const Caption kShoppingGroups[2];

// The home page a shopping tile opens, or nullptr for an unknown code.
const char* ShoppingAddress(int code);

}  // namespace tools
