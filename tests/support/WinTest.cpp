#include "support/WinTest.h"

#include "ui/Text.h"

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

int FakeEffects::ShowMessage(HWND, const std::string& text, const std::string& caption, UINT style) {
  messages.push_back({text, caption, style});
  return answer;
}

bool FakeEffects::ShellOpen(const std::string& file, const std::string&, int) {
  opened.push_back(file);
  return true;
}

bool FakeEffects::RequestPower(ui::PowerAction a) {
  power.push_back(a);
  return true;
}

std::string TextOf(HWND hwnd) {
  wchar_t buf[1024] = {};
  GetWindowTextW(hwnd, buf, 1024);
  return ui::Utf8(buf);
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
  Search s{ui::Wide(title), nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&s));
  return s.found;
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
