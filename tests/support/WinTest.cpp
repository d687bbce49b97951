#include "support/WinTest.h"

#include <cstdlib>
#include <fstream>

#include "ui/Handles.h"
#include "base/Text.h"

namespace wintest {

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

int FakeEffects::ShowMessage(HWND, const std::string& text, const std::string& caption,
                             UINT style) {
  messages.push_back({text, caption, style});
  return answer;
}

bool FakeEffects::ShellOpen(const std::string& file, const std::string&, int) {
  opened.push_back(file);
  return true;
}

bool FakeEffects::RequestPower(ui::PowerAction a) {
  power.push_back(a);
  return !refusePower;
}

std::string TextOf(HWND hwnd) {
  wchar_t buf[1024] = {};
  GetWindowTextW(hwnd, buf, 1024);
  return base::Utf8(buf);
}

namespace {
struct Search {
  std::wstring title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  if (IsWindowVisible(h) && s->title == buf) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindTopLevel(const std::string& title) {
  Search s{base::Wide(title), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool SaveScreen(const RECT& r, const std::string& name) {
  const char* dir = std::getenv("MIRVEN_SHOT_DIR");
  int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  ui::ClientDC screen(nullptr);
  ui::MemoryDC mem(screen.get());
  void* bits = nullptr;
  ui::Bitmap bmp(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bmp) return false;
  {
    ui::SelectGuard sel(mem.get(), bmp.get());
    BitBlt(mem.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    GdiFlush();
  }
  DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  std::string path = std::string(dir ? dir : ".") + "/" + name + ".bmp";
  std::ofstream out(base::Wide(path).c_str(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
  out.write(static_cast<const char*>(bits),
            static_cast<std::streamsize>(stride * static_cast<DWORD>(h)));
  return out.good();
}

DWORD GdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  // Wine does not count them; it does accept bare 16-bit handle values, so
  // count the live ones.
  DWORD n = 0;
  for (ULONG_PTR v = 1; v < 0x10000; ++v)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(v))) ++n;
  return n;
}

}  // namespace wintest
