#include "tools/TilePages.h"

#include "res/Bitmaps.h"

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
    {1, "https://www.taobao.com/"},    {2, "https://www.jd.com/"},
    {3, "https://www.tmall.com/"},     {4, "https://www.amazon.cn/"},
    {5, "https://www.suning.com/"},    {6, "https://www.dangdang.com/"},
    {7, "https://www.gome.com.cn/"},   {8, "https://www.newegg.cn/"},
    {9, "https://www.vancl.com/"},     {101, "https://ju.taobao.com/"},
    {102, "https://www.lashou.com/"},  {103, "https://www.meituan.com/"},
    {104, "https://www.55tuan.com/"},  {105, "https://www.nuomi.com/"},
    {106, "https://t.dianping.com/"},  {107, "https://t.58.com/"},
    {108, "https://www.gaopeng.com/"},
};
}  // namespace

const tiles::Tile kToolkitTiles[kToolkitTileCount] = {
    {kToolShutdown, Square(20, 30), IDB_TOOL_SHUTDOWN, IDB_TOOL_SHUTDOWN_HOVER, "定时关机"},
    {kToolAlarm, Square(94, 30), IDB_TOOL_ALARM, IDB_TOOL_ALARM_HOVER, "Mirven闹钟"},
    {kToolDefrag, Square(168, 30), IDB_TOOL_DEFRAG, IDB_TOOL_DEFRAG_HOVER, "磁盘整理"},
    {kToolTax, Square(20, 230), IDB_TOOL_TAX, IDB_TOOL_TAX_HOVER, "个税计算"},
    {kToolEmail, Square(94, 230), IDB_TOOL_EMAIL, IDB_TOOL_EMAIL_HOVER, "邮件发送"},
    {kToolCalculator, Square(168, 230), IDB_TOOL_CALCULATOR, IDB_TOOL_CALCULATOR_HOVER, "Mirven计算器"},
    {kToolClock, Square(242, 230), IDB_TOOL_CLOCK, IDB_TOOL_CLOCK_HOVER, "Mirven时钟"},
};

// Each tile's label is its name, centred under it.
const Caption kToolkitLabels[kToolkitTileCount] = {
    {kToolkitTiles[0].name, 50, 95},  {kToolkitTiles[1].name, 124, 95},
    {kToolkitTiles[2].name, 198, 95}, {kToolkitTiles[3].name, 50, 295},
    {kToolkitTiles[4].name, 124, 295}, {kToolkitTiles[5].name, 198, 295},
    {kToolkitTiles[6].name, 272, 295},
};

const Caption kToolkitGroups[2] = {{"系统工具", 50, 5}, {"Mirven助手", 50, 205}};

const tiles::Tile kShoppingTiles[kShoppingTileCount] = {
    {1, Card(20, 40), IDB_SHOP_TAOBAO, IDB_SHOP_TAOBAO_HOVER, "淘宝网"},
    {2, Card(130, 40), IDB_SHOP_JD, IDB_SHOP_JD_HOVER, "京东商城"},
    {3, Card(240, 40), IDB_SHOP_TMALL, IDB_SHOP_TMALL_HOVER, "天猫"},
    {4, Card(350, 40), IDB_SHOP_AMAZON, IDB_SHOP_AMAZON_HOVER, "亚马逊"},
    {5, Card(460, 40), IDB_SHOP_SUNING, IDB_SHOP_SUNING_HOVER, "苏宁易购"},
    {6, Card(570, 40), IDB_SHOP_DANGDANG, IDB_SHOP_DANGDANG_HOVER, "当当网"},
    {7, Card(680, 40), IDB_SHOP_GOME, IDB_SHOP_GOME_HOVER, "国美在线"},
    {8, Card(20, 120), IDB_SHOP_NEWEGG, IDB_SHOP_NEWEGG_HOVER, "新蛋网"},
    {9, Card(130, 120), IDB_SHOP_VANCL, IDB_SHOP_VANCL_HOVER, "凡客诚品"},
    {101, Card(20, 230), IDB_SHOP_JU_TAOBAO, IDB_SHOP_JU_TAOBAO_HOVER, "淘宝团购"},
    {102, Card(130, 230), IDB_SHOP_LASHOU, IDB_SHOP_LASHOU_HOVER, "拉手网"},
    {103, Card(240, 230), IDB_SHOP_MEITUAN, IDB_SHOP_MEITUAN_HOVER, "美团网"},
    {104, Card(350, 230), IDB_SHOP_WOWO, IDB_SHOP_WOWO_HOVER, "窝窝团"},
    {105, Card(460, 230), IDB_SHOP_NUOMI, IDB_SHOP_NUOMI_HOVER, "糯米网"},
    {106, Card(570, 230), IDB_SHOP_DIANPING, IDB_SHOP_DIANPING_HOVER, "点评团购"},
    {107, Card(680, 230), IDB_SHOP_TUAN58, IDB_SHOP_TUAN58_HOVER, "58团购"},
    {108, Card(20, 310), IDB_SHOP_GAOPENG, IDB_SHOP_GAOPENG_HOVER, "高朋网"},
};

const Caption kShoppingGroups[2] = {{"网上购物", 50, 10}, {"团购导航", 50, 200}};

const char* ShoppingAddress(int code) {
  for (const Site& s : kSites)
    if (s.code == code) return s.address;
  return nullptr;
}

}  // namespace tools
