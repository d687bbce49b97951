#pragma once
// Pictures as plain 32-bit pixel arrays, and resampling them to another
// size once, when they are loaded. Portable, tested natively.
#include <cstdint>
#include <vector>

namespace pix {

// Rows top to bottom, four bytes a pixel (the DIB order B, G, R, A); each
// byte is resampled on its own, so the order does not matter here.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height

  std::size_t Bytes() const { return pixels.size() * sizeof(std::uint32_t); }
};

// `src` at width x height by area averaging: each new pixel is the mean of
// the source area it covers, weighted by how much of each source pixel lies
// in it. Shrinking keeps edges clean and a flat area exactly its colour (the
// key colour of keyed faces stays exact); enlarging mixes only where a new
// pixel straddles two old ones. An empty source or size gives an empty image.
Image Resample(const Image& src, int width, int height);

}  // namespace pix
