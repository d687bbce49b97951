#include "tools/TilePages.h"

namespace tools {

namespace {
constexpr geom::Rect Square(int x, int y) { return geom::Rect{x, y, x + 64, y + 64}; }
constexpr geom::Rect Card(int x, int y) { return geom::Rect{x, y, x + 90, y + 60}; }

struct Site {
  int code;
  const char* address;
};

// The sites' current home pages.
constexpr Site kSites[kShoppingTileCount] = {
    {1, "https://www.taobao.com/"},     {2, "https://www.jd.com/"},
    {3, "https://www.tmall.com/"},      {4, "https://www.amazon.cn/"},
    {5, "https://www.suning.com/"},     {6, "https://www.dangdang.com/"},
    {7, "https://www.gome.com.cn/"},    {8, "https://www.newegg.cn/"},
    {9, "https://www.vancl.com/"},      {101, "https://ju.taobao.com/"},
    {102, "https://www.lashou.com/"},   {103, "https://www.meituan.com/"},
    {104, "https://www.55tuan.com/"},   {105, "https://www.nuomi.com/"},
    {106, "https://t.dianping.com/"},   {107, "https://t.58.com/"},
    {108, "https://www.gaopeng.com/"},
};
}  // namespace

const tiles::Tile kToolkitTiles[kToolkitTileCount] = {
    {kToolShutdown, Square(20, 30), 271, 272},
    {kToolAlarm, Square(94, 30), 284, 286},
    {kToolDefrag, Square(168, 30), 288, 289},
    {kToolTax, Square(20, 230), 275, 276},
    {kToolEmail, Square(94, 230), 290, 291},
    {kToolCalculator, Square(168, 230), 337, 338},
    {kToolClock, Square(242, 230), 339, 340},
};

const Caption kToolkitLabels[kToolkitTileCount] = {
    {"定时关机", 50, 95},   {"Mirven闹钟", 124, 95},   {"磁盘整理", 198, 95},
    {"个税计算", 50, 295},  {"邮件发送", 124, 295},    {"Mirven计算器", 198, 295},
    {"Mirven时钟", 272, 295},
};

const Caption kToolkitGroups[2] = {{"系统工具", 50, 5}, {"Mirven助手", 50, 205}};

const tiles::Tile kShoppingTiles[kShoppingTileCount] = {
    {1, Card(20, 40), 236, 237},    {2, Card(130, 40), 238, 239},
    {3, Card(240, 40), 240, 241},   {4, Card(350, 40), 242, 243},
    {5, Card(460, 40), 244, 245},   {6, Card(570, 40), 246, 247},
    {7, Card(680, 40), 248, 249},   {8, Card(20, 120), 277, 279},
    {9, Card(130, 120), 280, 281},  {101, Card(20, 230), 251, 252},
    {102, Card(130, 230), 253, 254}, {103, Card(240, 230), 255, 256},
    {104, Card(350, 230), 257, 258}, {105, Card(460, 230), 259, 260},
    {106, Card(570, 230), 261, 263}, {107, Card(680, 230), 264, 265},
    {108, Card(20, 310), 282, 283},
};

const Caption kShoppingGroups[2] = {{"网上购物", 50, 10}, {"团购导航", 50, 200}};

const char* ShoppingAddress(int code) {
  for (const Site& s : kSites)
    if (s.code == code) return s.address;
  return nullptr;
}

}  // namespace tools
