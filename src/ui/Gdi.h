#pragma once
// Drawing helpers shared by every owner-drawn window.
#include <windows.h>

#include <string_view>

#include "ui/Handles.h"

namespace ui {

// Draws picture `id` as drawn for `dpi` (ui/Pictures.h) into (x, y, w, h) of
// `dc`, device pixels, SRCCOPY: 1:1 when (w, h) is the picture's scaled size,
// otherwise stretched (strips and pieces that are made to be stretched). A
// missing picture draws nothing.
void DrawBitmapTo(HDC dc, int x, int y, int w, int h, int id, int dpi);
// The same onto the window's whole-window DC, right now, outside any paint
// cycle.
void DrawBitmap(HWND hwnd, int x, int y, int w, int h, int id, int dpi);

// The 100 % pictures (dpi 96), for callers not yet given their window's DPI.
void DrawBitmap(HWND hwnd, int x, int y, int w, int h, int id);
void DrawBitmapTo(HDC dc, int x, int y, int w, int h, int id);

// A font (face name in UTF-8) the way the program's windows ask for them: character set 0 and
// pitch-and-family 0x20 (FF_SWISS), as the system's own look.
Font MakeFont(std::string_view face, int height, int weight, bool underline = false);

// Draws UTF-8 text with the given alignment (TA_* flags) in white, transparent,
// on a DC, with `font` selected only for this call.
void DrawTextAt(HDC dc, int x, int y, std::string_view text, HFONT font, UINT align,
                COLORREF colour = RGB(255, 255, 255));

// Inserts a tab with a UTF-8 text into a tab control.
void InsertTab(HWND tab, int index, std::string_view text);
// Gives each of a tab control's `count` tabs an equal share of its width,
// less `inset` pixels: the selected tab is drawn wider on either side, and
// a pixel too many makes the control show its scroll arrows.
void ShareTabWidth(HWND tab, int count, int inset);

// Window rectangle in screen coordinates, and the same size only.
RECT WindowRect(HWND hwnd);
SIZE WindowSize(HWND hwnd);

}  // namespace ui
