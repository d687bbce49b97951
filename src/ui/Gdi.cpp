#include "ui/Gdi.h"

#include <commctrl.h>

#include "ui/Pictures.h"
#include "ui/Scale.h"
#include "base/Text.h"

namespace ui {

void DrawBitmapTo(HDC dc, int x, int y, int w, int h, int id) {
  Bitmap bmp(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
  if (!bmp || !dc) return;
  BITMAP info{};
  GetObjectW(bmp.get(), sizeof info, &info);
  MemoryDC mem(dc);
  SelectGuard sel(mem.get(), bmp.get());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, w, h, mem.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

void DrawBitmapTo(HDC dc, int x, int y, int w, int h, int id, int dpi) {
  if (!dc) return;
  std::shared_ptr<const pix::Image> img;
  if (dpi != geom::kDesignDpi) img = PicturePixels(id, dpi);
  if (!img) {  // 100 %, or a missing picture, which draws nothing either way
    DrawBitmapTo(dc, x, y, w, h, id);
    return;
  }
  DrawPixels(dc, x, y, w, h, *img);
}

void DrawBitmap(HWND hwnd, int x, int y, int w, int h, int id) {
  WindowDC dc(hwnd);
  DrawBitmapTo(dc.get(), x, y, w, h, id);
}

void DrawBitmap(HWND hwnd, int x, int y, int w, int h, int id, int dpi) {
  WindowDC dc(hwnd);
  DrawBitmapTo(dc.get(), x, y, w, h, id, dpi);
}

Font MakeFont(std::string_view face, int height, int weight, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = 0;
  lf.lfPitchAndFamily = 0x20;
  base::Wide(face).copy(lf.lfFaceName, LF_FACESIZE - 1);
  return Font(CreateFontIndirectW(&lf));
}

void DrawTextAt(HDC dc, int x, int y, std::string_view utf8, HFONT font, UINT align,
                COLORREF colour) {
  SelectGuard sel(dc, font);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, colour);
  UINT oldAlign = SetTextAlign(dc, align);
  std::wstring text = base::Wide(utf8);
  TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
  SetTextAlign(dc, oldAlign);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void InsertTab(HWND tab, int index, std::string_view text) {
  std::wstring wide = base::Wide(text);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = wide.data();
  SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void ShareTabWidth(HWND tab, int count, int inset) {
  SendMessageW(tab, TCM_SETMINTABWIDTH, 0, WindowSize(tab).cx / count - inset);
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

SIZE WindowSize(HWND hwnd) {
  RECT r = WindowRect(hwnd);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace ui
