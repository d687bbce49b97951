#pragma once
// The main window's header: caption bar (26 px) with the menu, minimise and
// close pictures, and the strip of five page buttons (74 px). Positions are
// window coordinates for a window w pixels wide. Portable, tested natively.
#include "res/Bitmaps.h"
#include "ui/Geometry.h"

namespace header {

constexpr int kCaptionHeight = 26;
constexpr int kHeaderHeight = 100;
constexpr int kPageButtonSide = kHeaderHeight - kCaptionHeight;  // 74
constexpr int kPageCount = 5;
constexpr int kWidth = 781;
constexpr int kHeight = 525;

enum class CaptionButton { None, Menu, Minimize, Close };

struct PageButton {
  int left;
  int normalBitmap;
  int litBitmap;
  const char* name;
};

inline constexpr PageButton kPageButtons[kPageCount] = {
    {20, IDB_PAGE_CLEANUP, IDB_PAGE_CLEANUP_LIT, "系统清理"},
    {114, IDB_PAGE_TOOLKIT, IDB_PAGE_TOOLKIT_LIT, "工具助手"},
    {208, IDB_PAGE_SHOPPING, IDB_PAGE_SHOPPING_LIT, "网购导航"},
    {302, IDB_PAGE_CHECKUP, IDB_PAGE_CHECKUP_LIT, "电脑体检"},
    {396, IDB_PAGE_MEMORY, IDB_PAGE_MEMORY_LIT, "优化加速"}};

// Pictures are drawn 5 pixels left of where the buttons answer.
inline geom::Rect MenuHitRect(int w) { return geom::Rect{w - 78, 0, w - 52, 26}; }
inline geom::Rect MinimizeHitRect(int w) { return geom::Rect{w - 52, 0, w - 26, 26}; }
inline geom::Rect CloseHitRect(int w) { return geom::Rect{w - 26, 0, w, 26}; }

// Where the pictures are drawn.
inline geom::Rect CaptionDrawRect(int w, CaptionButton b) {
  const int right = b == CaptionButton::Menu ? 57 : b == CaptionButton::Minimize ? 31 : 5;
  return geom::Rect{w - right - 26, 0, w - right, kCaptionHeight};
}

// First match wins: close, minimise, menu.
inline CaptionButton CaptionButtonAt(int w, geom::Point p) {
  if (CloseHitRect(w).Contains(p)) return CaptionButton::Close;
  if (MinimizeHitRect(w).Contains(p)) return CaptionButton::Minimize;
  if (MenuHitRect(w).Contains(p)) return CaptionButton::Menu;
  return CaptionButton::None;
}

inline geom::Rect PageButtonRect(int page) {
  return geom::Rect::At(kPageButtons[page - 1].left, kCaptionHeight, kPageButtonSide,
                        kPageButtonSide);
}

// Page 1 to 5 under the point, or 0.
inline int PageButtonAt(geom::Point p) {
  for (int k = 1; k <= kPageCount; ++k)
    if (PageButtonRect(k).Contains(p)) return k;
  return 0;
}

// The whole header is caption for the window manager (client coordinates).
inline bool InHeader(int w, geom::Point client) {
  return geom::Rect{0, 0, w, kHeaderHeight}.Contains(client);
}

}  // namespace header
