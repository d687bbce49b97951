#include "clock/ClockWnd.h"

#include <string>

#include "controls/Colours.h"
#include "ui/Effects.h"
#include "base/Text.h"

namespace helpers {
namespace {

constexpr int kClientWidth = 320;
constexpr int kRadius = 140;
constexpr int kCentre = 160;  // of the face, in both directions
constexpr RECT kFace{kCentre - kRadius - 4, kCentre - kRadius - 4, kCentre + kRadius + 5,
                     kCentre + kRadius + 5};
constexpr int kClientHeight = kFace.bottom + 112;
constexpr UINT_PTR kTimer = 1;
// Often enough that the seconds change close to the real moment.
constexpr UINT kTimerMs = 200;

constexpr COLORREF kSecondHand = RGB(255, 176, 64);

void Line(HDC dc, clockface::Point a, clockface::Point b) {
  MoveToEx(dc, a.x, a.y, nullptr);
  LineTo(dc, b.x, b.y);
}

// A hand from a little behind the centre to `length` in front of it.
void Hand(HDC dc, double degrees, int length, int tail, int width, COLORREF colour) {
  ui::Pen pen(CreatePen(PS_SOLID, width, colour));
  ui::SelectGuard sel(dc, pen.get());
  Line(dc, clockface::PointAt(kCentre, kCentre, degrees + 180, tail),
       clockface::PointAt(kCentre, kCentre, degrees, length));
}

}  // namespace

bool ClockWnd::Create() {
  if (!CreateFrame("时钟", kClientWidth, kClientHeight)) return false;
  if (!AddText(kTimeId, RECT{0, kFace.bottom + 8, kClientWidth, kFace.bottom + 68},
               SS_CENTER | SS_NOPREFIX, 52, FW_BOLD) ||
      !AddText(kDateId, RECT{0, kFace.bottom + 70, kClientWidth, kFace.bottom + 100},
               SS_CENTER | SS_NOPREFIX, 20, FW_NORMAL))
    return false;
  Tick();
  SetTimer(hwnd_, kTimer, kTimerMs, nullptr);
  return true;
}

void ClockWnd::Tick() {
  SYSTEMTIME t = ui::effects().LocalTime();
  clockface::Moment now{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  if (shown_ && now.second == now_.second && now.minute == now_.minute && now.hour == now_.hour &&
      now.day == now_.day)
    return;
  bool newDay = !shown_ || now.day != now_.day || now.month != now_.month || now.year != now_.year;
  now_ = now;
  shown_ = true;
  SetWindowTextW(Item(kTimeId), base::Wide(clockface::TimeText(now_)).c_str());
  if (newDay) SetWindowTextW(Item(kDateId), base::Wide(clockface::DateText(now_)).c_str());
  RECT face = S(kFace);
  InvalidateRect(hwnd_, &face, FALSE);
}

void ClockWnd::OnTimer(UINT_PTR id) {
  if (id == kTimer) Tick();
}

void ClockWnd::OnDestroy() {
  KillTimer(hwnd_, kTimer);
  Default();
}

void ClockWnd::OnPaint() {
  ui::PaintDC dc(hwnd_);
  const RECT face = S(kFace);
  const int w = face.right - face.left, h = face.bottom - face.top;
  ui::MemoryDC mem(dc.get());
  ui::Bitmap bitmap(CreateCompatibleBitmap(dc.get(), w, h));
  if (!mem.get() || !bitmap) return;
  ui::SelectGuard sel(mem.get(), bitmap.get());
  // The face is drawn in design pixels through a scaling transform (lines
  // and text stay sharp); the bitmap starts at the face.
  SetGraphicsMode(mem.get(), GM_ADVANCED);
  const float k = static_cast<float>(Dpi()) / geom::kDesignDpi;
  XFORM scale{k, 0, 0, k, static_cast<float>(-face.left), static_cast<float>(-face.top)};
  SetWorldTransform(mem.get(), &scale);
  FillRect(mem.get(), &kFace, windowBrush_.get());
  DrawFace(mem.get());
  ModifyWorldTransform(mem.get(), nullptr, MWT_IDENTITY);
  BitBlt(dc.get(), face.left, face.top, w, h, mem.get(), 0, 0, SRCCOPY);
}

void ClockWnd::DrawFace(HDC dc) const {
  {
    ui::Pen rim(CreatePen(PS_SOLID, 4, colours::kText));
    ui::SelectGuard pen(dc, rim.get());
    ui::SelectGuard brush(dc, pageBrush_.get());
    Ellipse(dc, kCentre - kRadius, kCentre - kRadius, kCentre + kRadius + 1, kCentre + kRadius + 1);
  }
  // Minute marks, longer and bolder at the hours, and the hour numbers.
  for (int mark = 0; mark < 60; ++mark) {
    bool hour = mark % 5 == 0;
    ui::Pen pen(CreatePen(PS_SOLID, hour ? 3 : 1, colours::kText));
    ui::SelectGuard sel(dc, pen.get());
    Line(dc, clockface::PointAt(kCentre, kCentre, mark * 6, kRadius - (hour ? 16 : 9)),
         clockface::PointAt(kCentre, kCentre, mark * 6, kRadius - 4));
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours::kText);
  // Design size: the transform scales it.
  ui::SelectGuard font(dc, controls::PageFont(controls::Face::YaHei, 20, FW_BOLD, geom::kDesignDpi));
  for (int n = 1; n <= 12; ++n) {
    clockface::Point p = clockface::PointAt(kCentre, kCentre, n * 30, kRadius - 34);
    RECT r{p.x - 20, p.y - 14, p.x + 20, p.y + 14};
    std::wstring number = std::to_wstring(n);
    DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  clockface::Hands hands = clockface::HandAngles(now_);
  Hand(dc, hands.hour, 66, 12, 8, colours::kText);
  Hand(dc, hands.minute, 100, 14, 5, colours::kText);
  Hand(dc, hands.second, 116, 24, 2, kSecondHand);
  ui::Brush hub(CreateSolidBrush(kSecondHand));
  ui::SelectGuard brush(dc, hub.get());
  ui::SelectGuard pen(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, kCentre - 6, kCentre - 6, kCentre + 7, kCentre + 7);
}

}  // namespace helpers
