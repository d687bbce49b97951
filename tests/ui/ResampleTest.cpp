#include "ui/Resample.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kKey = 0xFF0E5E9Du;  // the page colour RGB(14, 94, 157), B G R A

pix::Image Flat(int w, int h, std::uint32_t colour) {
  return pix::Image{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, colour)};
}

std::uint8_t Byte(std::uint32_t p, int c) { return static_cast<std::uint8_t>(p >> (8 * c)); }

// Sizes the program asks for: a larger variant scaled down (200 % to
// 175 %), the 100 % picture scaled when a variant fails, and up above 200 %.
TEST(Resample, FlatColourStaysExactAtEverySize) {
  const int sizes[][4] = {{180, 180, 158, 158}, {113, 113, 94, 94},   {1562, 148, 1367, 130},
                          {90, 60, 113, 75},    {180, 120, 225, 150}, {3, 433, 5, 541},
                          {7, 5, 1, 1}};
  for (const auto& s : sizes) {
    pix::Image out = pix::Resample(Flat(s[0], s[1], kKey), s[2], s[3]);
    ASSERT_EQ(out.width, s[2]);
    ASSERT_EQ(out.height, s[3]);
    ASSERT_EQ(out.pixels.size(), static_cast<std::size_t>(s[2]) * s[3]);
    for (std::uint32_t p : out.pixels) ASSERT_EQ(p, kKey) << s[0] << "x" << s[1] << " to " << s[2];
  }
}

TEST(Resample, HalvingAveragesEachTwoByTwoBlock) {
  pix::Image src{4,
                 2,
                 {0xFF000000u, 0xFF0000FFu, 0xFF00FF00u, 0xFF00FF00u,  //
                  0xFF000000u, 0xFF0000FFu, 0xFF000000u, 0xFF000000u}};
  pix::Image out = pix::Resample(src, 2, 1);
  ASSERT_EQ(out.pixels.size(), 2u);
  EXPECT_EQ(Byte(out.pixels[0], 0), 128);  // (0 + 255 + 0 + 255) / 4, rounded
  EXPECT_EQ(Byte(out.pixels[0], 1), 0);
  EXPECT_EQ(Byte(out.pixels[1], 1), 128);  // two of four at 255
  EXPECT_EQ(Byte(out.pixels[1], 3), 255);
}

// A keyed face scaled from 200 % to 175 %: its page-coloured surround stays
// exactly the key wherever no face pixel reaches, so TransparentBlt still
// drops it; pixels at the face's edge mix, as anti-aliased edges do.
TEST(Resample, KeyColourStaysExactAwayFromTheShape) {
  pix::Image src = Flat(40, 40, kKey);
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 30; ++x) src.pixels[y * 40 + x] = 0xFFFFFFFFu;
  pix::Image out = pix::Resample(src, 35, 35);  // 40 * 168 / 192
  for (int y = 0; y < 35; ++y)
    for (int x = 0; x < 35; ++x) {
      // source span of the new pixel: [x * 40 / 35, (x + 1) * 40 / 35)
      bool nearShape =
          (x + 1) * 40 > 10 * 35 && x * 40 < 30 * 35 && (y + 1) * 40 > 10 * 35 && y * 40 < 30 * 35;
      if (!nearShape) {
        ASSERT_EQ(out.pixels[y * 35 + x], kKey) << x << "," << y;
      }
    }
  EXPECT_EQ(out.pixels[17 * 35 + 17], 0xFFFFFFFFu);
  EXPECT_NE(out.pixels[8 * 35 + 17], kKey);  // the edge row mixes
  EXPECT_NE(out.pixels[8 * 35 + 17], 0xFFFFFFFFu);
}

TEST(Resample, EnlargingKeepsEdgesAndEmptyInputGivesNothing) {
  pix::Image src{2, 1, {0xFF000000u, 0xFFFFFFFFu}};
  pix::Image out = pix::Resample(src, 5, 1);  // 2.5 new pixels for each old one
  ASSERT_EQ(out.pixels.size(), 5u);
  EXPECT_EQ(out.pixels[0], 0xFF000000u);
  EXPECT_EQ(out.pixels[1], 0xFF000000u);
  EXPECT_EQ(Byte(out.pixels[2], 0), 128);  // straddles both
  EXPECT_EQ(out.pixels[4], 0xFFFFFFFFu);

  EXPECT_TRUE(pix::Resample(pix::Image{}, 4, 4).pixels.empty());
  EXPECT_TRUE(pix::Resample(src, 0, 3).pixels.empty());
  pix::Image broken{3, 3, {1, 2}};  // fewer pixels than its size says
  EXPECT_TRUE(pix::Resample(broken, 2, 2).pixels.empty());
}

}  // namespace
