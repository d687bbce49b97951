#pragma once
// The program's two blues. Windows' COLORREF is 0x00BBGGRR.

namespace colours {

constexpr unsigned long Rgb(int r, int g, int b) {
  return static_cast<unsigned long>(r) | (static_cast<unsigned long>(g) << 8) |
         (static_cast<unsigned long>(b) << 16);
}

// Main window and skinned secondary windows.
constexpr unsigned long kWindow = Rgb(20, 120, 200);
// The five pages; also the transparent colour of picture-button faces.
constexpr unsigned long kPage = Rgb(14, 94, 157);
constexpr unsigned long kText = Rgb(255, 255, 255);

}  // namespace colours
