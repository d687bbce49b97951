#pragma once
// Drawing helpers shared by every owner-drawn window.
#include <windows.h>

#include <string_view>

#include "ui/Handles.h"

namespace ui {

// Stretches the whole bitmap resource `id` (SRCCOPY) into (x, y, w, h) of the
// window's whole-window DC, right now, outside any paint cycle. A missing
// bitmap draws nothing.
void DrawBitmap(HWND hwnd, int x, int y, int w, int h, int id);

// The same onto a DC the caller already holds (e.g. inside WM_PAINT).
void DrawBitmapTo(HDC dc, int x, int y, int w, int h, int id);

// Draws picture `id` as drawn for `dpi` into (x, y, w, h) of `dc`, device
// pixels: 1:1 when (w, h) is the picture's scaled size, otherwise stretched
// (strips and pieces that are made to be stretched). A missing picture
// draws nothing.
void DrawBitmapTo(HDC dc, int x, int y, int w, int h, int id, int dpi);
void DrawBitmap(HWND hwnd, int x, int y, int w, int h, int id, int dpi);

// A font (face name in UTF-8) the way the program's windows ask for them: character set 0 and
// pitch-and-family 0x20 (FF_SWISS), as the system's own look.
Font MakeFont(std::string_view face, int height, int weight, bool underline = false);

// Draws UTF-8 text with the given alignment (TA_* flags) in white, transparent,
// on a DC, with `font` selected only for this call.
void DrawTextAt(HDC dc, int x, int y, std::string_view text, HFONT font, UINT align,
                COLORREF colour = RGB(255, 255, 255));

// Inserts a tab with a UTF-8 text into a tab control.
void InsertTab(HWND tab, int index, std::string_view text);

// Window rectangle in screen coordinates, and the same size only.
RECT WindowRect(HWND hwnd);
SIZE WindowSize(HWND hwnd);

}  // namespace ui
