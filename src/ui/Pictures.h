#pragma once
// The program's pictures at the DPI they are shown at. Each picture is drawn
// at build time at 100 % (BITMAP resource) and at 150 and 200 % (PNG
// resources of types "PNG150" and "PNG200", same id). A picture for
// `dpi` has its 100 % size scaled with geom::Scale; it comes from the
// variant drawn for that scale, else from the next larger variant scaled
// down once here (area averaging), and above 200 % from the 200 % variant
// scaled up once. Should a variant not decode (no WIC), the 100 % bitmap is
// scaled instead. Nothing is stretched at paint time.
//
// Pictures other than the 100 % bitmaps are kept in a small cache of
// decoded pixels, bounded by kPictureCacheBytes and dropped least recently
// used first, so a repaint does not decode again.
#include <windows.h>

#include <cstddef>
#include <memory>

#include "ui/Handles.h"
#include "ui/Resample.h"

namespace ui {

constexpr std::size_t kPictureCacheBytes = 2u << 20;

// The picture's device size at `dpi` ({0, 0} if there is no such picture).
SIZE PictureSize(int id, int dpi);

// A DC-selectable bitmap of exactly PictureSize(id, dpi), for callers that
// blit it themselves (TransparentBlt of keyed faces). The caller owns it;
// it is empty if there is no such picture.
Bitmap PictureBitmap(int id, int dpi);

// The picture's pixels at `dpi` (shared with the cache; null if missing).
std::shared_ptr<const pix::Image> PicturePixels(int id, int dpi);

// Copies `img` into (x, y, w, h) of `dc` (SRCCOPY), stretched if the sizes
// differ.
void DrawPixels(HDC dc, int x, int y, int w, int h, const pix::Image& img);

// The DPIs the larger variants were drawn for, smallest first.
// (make_bitmaps.py's VARIANT_DPIS.)
constexpr int kPictureVariantDpis[] = {144, 192};

// The variant for `dpi` decoded as it is, or null if it is missing or does
// not decode: for tests, which check that the variants decode.
std::unique_ptr<pix::Image> DecodeVariant(int id, int variantDpi);

}  // namespace ui
