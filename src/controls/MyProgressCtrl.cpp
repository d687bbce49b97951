#include "controls/MyProgressCtrl.h"

#include <commctrl.h>

#include "controls/ProgressGeometry.h"

void MyProgressCtrl::SetRange32(int lower, int upper) {
  SendMessageW(hwnd_, PBM_SETRANGE32, static_cast<WPARAM>(lower), upper);
}

void MyProgressCtrl::SetPos(int pos) {
  SendMessageW(hwnd_, PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

int MyProgressCtrl::GetPos() const {
  return static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0));
}

void MyProgressCtrl::Paint(HDC dc) {
  if (!trough_) trough_.Reset(CreateSolidBrush(kTroughColour));
  if (!bar_) bar_.Reset(CreateSolidBrush(kBarColour));
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  PBRANGE range{};
  SendMessageW(hwnd_, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  int pos = static_cast<int>(SendMessageW(hwnd_, PBM_GETPOS, 0, 0));
  FillRect(dc, &rc, trough_.get());
  geom::Rect bar = progress::BarRect(rc.right, rc.bottom, range.iLow, range.iHigh, pos);
  if (progress::IsEmpty(bar)) return;
  RECT r{bar.left, bar.top, bar.right, bar.bottom};
  FillRect(dc, &r, bar_.get());
}

void MyProgressCtrl::OnPaint() {
  ui::PaintDC dc(hwnd_);
  Paint(dc.get());
}

LRESULT MyProgressCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  // WM_PRINTCLIENT, and WM_PAINT with a DC as the common controls allow,
  // draw onto the DC given.
  if ((msg == WM_PRINTCLIENT || msg == WM_PAINT) && wp) {
    Paint(reinterpret_cast<HDC>(wp));
    return 0;
  }
  return ui::Window::WindowProc(msg, wp, lp);
}
