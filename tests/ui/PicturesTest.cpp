// The pictures at each DPI: their size, the variant drawn for the DPI, the
// key colour of keyed faces, and drawing them the right way up.
#include "ui/Pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "res/Bitmaps.h"
#include "ui/Gdi.h"
#include "ui/Scale.h"

namespace {

constexpr std::uint32_t kKey = 0xFF0E5E9Du;  // the page colour, B G R A
const int kIds[] = {IDB_STRIP, IDB_FACE_SMALL, IDB_TOOL_TAX};
const SIZE kDesign[] = {{781, 74}, {88, 25}, {64, 64}};

// A 32-bit top-down DIB section selected into a memory DC.
struct Canvas {
  Canvas(int w, int h) : width(w) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bmp.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                               nullptr, 0));
    old = SelectObject(dc.get(), bmp.get());
  }
  ~Canvas() { SelectObject(dc.get(), old); }
  std::uint32_t At(int x, int y) const { return bits[y * width + x] | 0xFF000000u; }
  int width;
  std::uint32_t* bits = nullptr;
  ui::MemoryDC dc{nullptr};
  ui::Bitmap bmp;
  HGDIOBJ old = nullptr;
};

TEST(Pictures, EachDpiGetsTheScaledSizeFromTheVariantDrawnForIt) {
  for (int dpi : {96, 120, 144, 168, 192, 240}) {
    for (int i = 0; i < 3; ++i) {
      SIZE want{geom::Scale(kDesign[i].cx, dpi), geom::Scale(kDesign[i].cy, dpi)};
      SIZE size = ui::PictureSize(kIds[i], dpi);
      EXPECT_EQ(size.cx, want.cx) << kIds[i] << " at " << dpi;
      EXPECT_EQ(size.cy, want.cy) << kIds[i] << " at " << dpi;
      ui::Bitmap bmp = ui::PictureBitmap(kIds[i], dpi);
      BITMAP info{};
      ASSERT_TRUE(bmp && GetObjectW(bmp.get(), sizeof info, &info)) << kIds[i] << " at " << dpi;
      EXPECT_EQ(info.bmWidth, want.cx);
      EXPECT_EQ(info.bmHeight, want.cy);
      auto pixels = ui::PicturePixels(kIds[i], dpi);
      ASSERT_TRUE(pixels);
      ASSERT_EQ(pixels->width, want.cx);
      if (std::count(std::begin(ui::kPictureVariantDpis), std::end(ui::kPictureVariantDpis), dpi) ==
          0)
        continue;
      // Drawn for this scale and decoded through WIC, not scaled from another.
      auto variant = ui::DecodeVariant(kIds[i], dpi);
      ASSERT_TRUE(variant) << "PNG variant of " << kIds[i] << " at " << dpi << " does not decode";
      EXPECT_TRUE(variant->pixels == pixels->pixels) << kIds[i] << " at " << dpi;
    }
    auto face = ui::PicturePixels(IDB_FACE_SMALL, dpi);
    EXPECT_EQ(face->pixels.front(), kKey) << dpi;
    EXPECT_EQ(face->pixels.back(), kKey) << dpi;
    EXPECT_NE(face->pixels[face->pixels.size() / 2], kKey) << dpi;
  }
  EXPECT_EQ(ui::PictureSize(9999, 144).cx, 0);
  EXPECT_FALSE(ui::PictureBitmap(9999, 144));
  EXPECT_FALSE(ui::PicturePixels(9999, 144));
}

TEST(Pictures, DrawnOneToOneTheRightWayUpAndStretchedWhenAsked) {
  auto strip = ui::PicturePixels(IDB_STRIP, 192);
  ASSERT_TRUE(strip);
  const int w = strip->width, h = strip->height;
  ASSERT_NE(strip->pixels.front(), strip->pixels.back());  // light top, dark bottom edge
  Canvas canvas(2 * w + 10, h + 4);
  ui::DrawBitmapTo(canvas.dc.get(), 2, 3, w, h, IDB_STRIP, 192);
  GdiFlush();
  for (int y = 0; y < h; y += 7)
    for (int x = 0; x < w; x += 97)
      ASSERT_EQ(canvas.At(2 + x, 3 + y), strip->pixels[y * w + x] | 0xFF000000u) << x << "," << y;
  // A piece made to be stretched keeps its rows at any width.
  ui::DrawBitmapTo(canvas.dc.get(), 0, 0, 2 * w + 10, h, IDB_STRIP, 192);
  GdiFlush();
  for (int y = 0; y < h; ++y)
    ASSERT_EQ(canvas.At(2 * w + 9, y), strip->pixels[y * w] | 0xFF000000u);
  // A missing picture draws nothing.
  canvas.bits[0] = 0x123456;
  ui::DrawBitmapTo(canvas.dc.get(), 0, 0, 10, 10, 9999, 192);
  GdiFlush();
  EXPECT_EQ(canvas.bits[0] & 0xFFFFFFu, 0x123456u);
}

}  // namespace
