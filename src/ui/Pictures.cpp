#include "ui/Pictures.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <list>
#include <mutex>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "ui/Scale.h"

namespace ui {
namespace {

// COM on the calling thread (the window thread that paints), started once
// and kept: ending it after each picture would unload the codecs each time.
// COM already running in the other mode serves as well.
void EnsureCom() {
  thread_local bool started = false;
  if (started) return;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  started = true;
}

struct Resource {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

Resource FindData(int id, const wchar_t* type) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return Resource{static_cast<const BYTE*>(data), SizeofResource(module, found)};
}

// The 100 % size, read from the bitmap resource's header without loading it.
SIZE DesignSize(int id) {
  Resource r = FindData(id, RT_BITMAP);
  if (r.size < sizeof(BITMAPINFOHEADER)) return SIZE{0, 0};
  BITMAPINFOHEADER header;
  std::memcpy(&header, r.data, sizeof header);
  if (header.biSize < sizeof header || header.biWidth <= 0 || header.biHeight == 0)
    return SIZE{0, 0};
  return SIZE{header.biWidth, header.biHeight < 0 ? -header.biHeight : header.biHeight};
}

SIZE ScaledSize(SIZE design, int dpi) {
  if (design.cx <= 0) return SIZE{0, 0};
  return SIZE{std::max(1, geom::Scale(static_cast<int>(design.cx), dpi)),
              std::max(1, geom::Scale(static_cast<int>(design.cy), dpi))};
}

bool Same(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

int ValidDpi(int dpi) { return dpi > 0 ? dpi : geom::kDesignDpi; }

Bitmap LoadDesignBitmap(int id) {
  return Bitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

std::unique_ptr<pix::Image> DesignPixels(int id) {
  Bitmap bmp = LoadDesignBitmap(id);
  BITMAP info{};
  if (!bmp || !GetObjectW(bmp.get(), sizeof info, &info)) return nullptr;
  auto img = std::make_unique<pix::Image>();
  img->width = info.bmWidth;
  img->height = info.bmHeight;
  img->pixels.resize(static_cast<std::size_t>(img->width) * img->height);
  BITMAPINFO bi = TopDown32(img->width, img->height);
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bmp.get(), 0, static_cast<UINT>(img->height), img->pixels.data(),
                       &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != img->height) return nullptr;
  for (auto& p : img->pixels) p |= 0xFF000000u;  // opaque, like the decoded variants
  return img;
}

// Sources for `dpi` in the order they are tried: those drawn at `dpi` or
// above, smallest first, then the smaller ones, largest first. 96 is the
// 100 % bitmap, which is tried last whatever happens.
std::vector<int> SourceOrder(int dpi) {
  std::vector<int> order;
  for (int v : kPictureVariantDpis)
    if (v >= dpi) order.push_back(v);
  for (auto it = std::rbegin(kPictureVariantDpis); it != std::rend(kPictureVariantDpis); ++it)
    if (*it<dpi&& * it> geom::kDesignDpi) order.push_back(*it);
  return order;
}

std::shared_ptr<const pix::Image> Build(int id, int dpi) {
  SIZE want = ScaledSize(DesignSize(id), dpi);
  if (want.cx <= 0) return nullptr;
  std::unique_ptr<pix::Image> source;
  if (dpi > geom::kDesignDpi)
    for (int v : SourceOrder(dpi))
      if ((source = DecodeVariant(id, v))) break;
  if (!source) source = DesignPixels(id);
  if (!source) return nullptr;
  if (source->width == want.cx && source->height == want.cy)
    return std::shared_ptr<const pix::Image>(std::move(source));
  return std::make_shared<const pix::Image>(pix::Resample(*source, want.cx, want.cy));
}

// Scaled pictures by id and DPI, least recently used last.
class Cache {
 public:
  std::shared_ptr<const pix::Image> Get(int id, int dpi) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->id == id && it->dpi == dpi) {
          entries_.splice(entries_.begin(), entries_, it);
          return it->image;
        }
      }
    }
    std::shared_ptr<const pix::Image> image = Build(id, dpi);
    if (!image || image->Bytes() > kPictureCacheBytes) return image;
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_front(Entry{id, dpi, image});
    bytes_ += image->Bytes();
    while (bytes_ > kPictureCacheBytes) {
      bytes_ -= entries_.back().image->Bytes();
      entries_.pop_back();
    }
    return image;
  }

 private:
  struct Entry {
    int id;
    int dpi;
    std::shared_ptr<const pix::Image> image;
  };
  std::mutex mutex_;
  std::list<Entry> entries_;
  std::size_t bytes_ = 0;
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

}  // namespace

std::unique_ptr<pix::Image> DecodeVariant(int id, int variantDpi) {
  std::wstring type = L"PNG" + std::to_wstring(variantDpi * 100 / geom::kDesignDpi);
  Resource r = FindData(id, type.c_str());
  if (!r.data) return nullptr;
  EnsureCom();
  base::Com<IWICImagingFactory> factory;
  base::Com<IWICStream> stream;
  base::Com<IWICBitmapDecoder> decoder;
  base::Com<IWICBitmapFrameDecode> frame;
  base::Com<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  // The first factory (Windows 7's); created at run time, so no DLL is linked.
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()))) ||
      FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(r.data), r.size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 16384 ||
      height > 16384)
    return nullptr;
  auto img = std::make_unique<pix::Image>();
  img->width = static_cast<int>(width);
  img->height = static_cast<int>(height);
  img->pixels.resize(static_cast<std::size_t>(width) * height);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(img->Bytes()),
                                   reinterpret_cast<BYTE*>(img->pixels.data()))))
    return nullptr;
  return img;
}

SIZE PictureSize(int id, int dpi) { return ScaledSize(DesignSize(id), ValidDpi(dpi)); }

std::shared_ptr<const pix::Image> PicturePixels(int id, int dpi) {
  dpi = ValidDpi(dpi);
  SIZE design = DesignSize(id);
  if (design.cx <= 0) return nullptr;
  // The 100 % bitmap is at hand in the program's image: not worth a cache entry.
  if (Same(ScaledSize(design, dpi), design))
    return std::shared_ptr<const pix::Image>(DesignPixels(id));
  return TheCache().Get(id, dpi);
}

Bitmap PictureBitmap(int id, int dpi) {
  dpi = ValidDpi(dpi);
  SIZE design = DesignSize(id);
  if (design.cx <= 0) return Bitmap();
  if (Same(ScaledSize(design, dpi), design)) return LoadDesignBitmap(id);
  std::shared_ptr<const pix::Image> img = TheCache().Get(id, dpi);
  if (!img) return Bitmap();
  BITMAPINFO bi = TopDown32(img->width, img->height);
  void* bits = nullptr;
  Bitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp || !bits) return Bitmap();
  std::memcpy(bits, img->pixels.data(), img->Bytes());
  return bmp;
}

void DrawPixels(HDC dc, int x, int y, int w, int h, const pix::Image& img) {
  BITMAPINFO bi = TopDown32(img.width, img.height);
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, w, h, 0, 0, img.width, img.height, img.pixels.data(), &bi, DIB_RGB_COLORS,
                SRCCOPY);
  if (oldMode) SetStretchBltMode(dc, oldMode);
}

}  // namespace ui
