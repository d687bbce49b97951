#include "ui/Resample.h"

#include <algorithm>
#include <cmath>

namespace pix {
namespace {

struct Tap {
  int index;
  float weight;
};

// For each of `to` new pixels along one axis, the old pixels it covers and
// the share of the new pixel each one takes (the shares sum to 1).
std::vector<std::vector<Tap>> Taps(int from, int to) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double a = i * step;
    const double b = std::min<double>(from, (i + 1) * step);
    for (int s = static_cast<int>(a); s < from && s < b; ++s) {
      double overlap = std::min<double>(b, s + 1) - std::max<double>(a, s);
      if (overlap > 0) taps[i].push_back(Tap{s, static_cast<float>(overlap / step)});
    }
  }
  return taps;
}

std::uint8_t Channel(std::uint32_t p, int c) { return static_cast<std::uint8_t>(p >> (8 * c)); }

}  // namespace

Image Resample(const Image& src, int width, int height) {
  Image out;
  if (src.width <= 0 || src.height <= 0 || width <= 0 || height <= 0 ||
      src.pixels.size() != static_cast<std::size_t>(src.width) * src.height)
    return out;
  out.width = width;
  out.height = height;
  if (width == src.width && height == src.height) {
    out.pixels = src.pixels;
    return out;
  }
  const auto across = Taps(src.width, width);
  const auto down = Taps(src.height, height);
  // Across first, into floats (source rows x new columns x 4 channels)...
  std::vector<float> mid(static_cast<std::size_t>(src.height) * width * 4);
  for (int y = 0; y < src.height; ++y) {
    const std::uint32_t* row = &src.pixels[static_cast<std::size_t>(y) * src.width];
    float* to = &mid[static_cast<std::size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x)
      for (const Tap& t : across[x])
        for (int c = 0; c < 4; ++c) to[x * 4 + c] += t.weight * Channel(row[t.index], c);
  }
  // ...then down, rounded to the nearest value: a flat area's shares sum to
  // 1 within float precision, so its colour comes back exactly.
  out.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  std::vector<float> acc(static_cast<std::size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    std::fill(acc.begin(), acc.end(), 0.0f);
    for (const Tap& t : down[y]) {
      const float* from = &mid[static_cast<std::size_t>(t.index) * width * 4];
      for (std::size_t i = 0; i < acc.size(); ++i) acc[i] += t.weight * from[i];
    }
    std::uint32_t* row = &out.pixels[static_cast<std::size_t>(y) * width];
    for (int x = 0; x < width; ++x) {
      std::uint32_t p = 0;
      for (int c = 0; c < 4; ++c) {
        long v = std::lround(acc[x * 4 + c]);
        p |= static_cast<std::uint32_t>(std::clamp(v, 0L, 255L)) << (8 * c);
      }
      row[x] = p;
    }
  }
  return out;
}

}  // namespace pix
