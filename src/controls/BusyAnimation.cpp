#include "controls/BusyAnimation.h"

#include "controls/LayoutDialog.h"
#include "ui/Gdi.h"
#include "base/Text.h"

namespace controls {
namespace {
constexpr UINT_PTR kTimer = 1;
}

BusyAnimation::~BusyAnimation() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool BusyAnimation::Create(HWND parent, int id, std::vector<int> frames, int periodMs,
                           int idleBitmap, const char* name) {
  HWND hwnd = CreateWindowExW(0, L"STATIC", base::Wide(name).c_str(), WS_CHILD | (idleBitmap ? WS_VISIBLE : 0), 0, 0,
                              0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return false;
  frames_ = std::move(frames);
  periodMs_ = periodMs;
  idle_ = idleBitmap;
  Attach(hwnd);
  return true;
}

void BusyAnimation::Start() {
  stopping_ = false;
  Resume();
  if (turning_ || frames_.empty()) return;
  turning_ = true;
  frame_ = 0;
  SetTimer(hwnd_, kTimer, static_cast<UINT>(periodMs_), nullptr);
  ShowWindow(hwnd_, SW_SHOWNA);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void BusyAnimation::Stop() {
  if (turning_) stopping_ = true;
  Resume();
}

void BusyAnimation::Pause() {
  if (turning_ && !paused_) KillTimer(hwnd_, kTimer);
  paused_ = true;
}

void BusyAnimation::Resume() {
  if (turning_ && paused_) SetTimer(hwnd_, kTimer, static_cast<UINT>(periodMs_), nullptr);
  paused_ = false;
}

int BusyAnimation::ShownBitmap() const { return turning_ ? frames_[frame_] : idle_; }

void BusyAnimation::OnTimer(UINT_PTR id) {
  if (id != kTimer) {
    Default();
    return;
  }
  if (++frame_ == frames_.size()) {
    frame_ = 0;
    if (stopping_) {
      KillTimer(hwnd_, kTimer);
      turning_ = stopping_ = false;
      if (!idle_) ShowWindow(hwnd_, SW_HIDE);
    }
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void BusyAnimation::OnPaint() {
  ui::PaintDC dc(hwnd_);
  RECT r;
  GetClientRect(hwnd_, &r);
  if (int bitmap = ShownBitmap())
    ui::DrawBitmapTo(dc.get(), 0, 0, r.right, r.bottom, bitmap, ControlDpi(hwnd_));
}

}  // namespace controls
