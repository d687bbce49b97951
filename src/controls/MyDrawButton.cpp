#include "controls/MyDrawButton.h"

#include <oleacc.h>

#include "controls/ButtonCaption.h"
#include "controls/Colours.h"
#include "controls/Fonts.h"
#include "controls/LayoutDialog.h"
#include "ui/Gdi.h"
#include "ui/Pictures.h"
#include "ui/Scale.h"
#include "ui/Task.h"
#include "base/Text.h"

namespace {
// Disabled faces and captions are blended this far (of 255) into the
// colour behind them.
constexpr BYTE kDisabledFade = 150;

COLORREF BrushColour(HBRUSH brush, COLORREF fallback) {
  LOGBRUSH lb{};
  if (brush && GetObjectW(brush, sizeof lb, &lb) == sizeof lb && lb.lbStyle == BS_SOLID)
    return lb.lbColor;
  return fallback;
}

// Covers `rc` of `dc` with `colour` at `alpha` of 255.
void Fade(HDC dc, const RECT& rc, COLORREF colour, BYTE alpha) {
  ui::MemoryDC mem(dc);
  ui::Bitmap dot(CreateCompatibleBitmap(dc, 1, 1));
  if (!dot) return;
  ui::SelectGuard sel(mem.get(), dot.get());
  SetPixel(mem.get(), 0, 0, colour);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
  AlphaBlend(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem.get(), 0, 0, 1, 1,
             blend);
}
}  // namespace

void MyDrawButton::SubclassWindow(HWND button) {
  Attach(button);
  PreSubclassWindow();
}

void MyDrawButton::PreSubclassWindow() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  SendMessageW(hwnd_, BM_SETSTYLE, static_cast<WPARAM>((style & ~BS_TYPEMASK) | BS_OWNERDRAW),
               TRUE);
}

bool MyDrawButton::Bind(int id, HWND parent, unsigned normal, unsigned hover) {
  if (!SubclassDlgItem(id, parent)) return false;
  SetBitmaps(normal, hover);
  return true;
}

void MyDrawButton::SetBitmaps(unsigned normal, unsigned hover) {
  normalBitmap_ = normal;
  hoverBitmap_ = hover;
  SetFaceBitmap(hovering_ ? hover : normal);
}

void MyDrawButton::SetFaceBitmap(unsigned face) {
  faceBitmap_ = face;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void MyDrawButton::SetCaption(const std::string& text) {
  SetText(text);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void MyDrawButton::SetAccessibleName(const std::string& name, long role) {
  accessibleName_ = name;
  accessibleRole_ = role;
}

void MyDrawButton::PaintParentBackground(HDC dc, const RECT& rc) {
  HWND parent = GetParent(hwnd_);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(hwnd_)));
  FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

void MyDrawButton::DrawItem(HDC dc) {
  // Whatever DC it is given, nothing lands outside the button.
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const bool pressed = (SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const bool disabled = !IsWindowEnabled(hwnd_);
  const bool focus = GetFocus() == hwnd_ &&
                     !(SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
  const int dpi = controls::ControlDpi(hwnd_);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, rc.right, rc.bottom);
  if (pressed || disabled) {
    // What lies behind the face, so that a moved or faded face leaves no trace.
    SaveDC(dc);
    PaintParentBackground(dc, rc);
    RestoreDC(dc, -1);
  }
  if (pressed) SetViewportOrgEx(dc, geom::Scale(1, dpi), geom::Scale(1, dpi), nullptr);
  DrawFace(dc);
  if (!pictureFace_) DrawCaption(dc);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  if (disabled) {
    HWND parent = GetParent(hwnd_);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(hwnd_)));
    Fade(dc, rc, BrushColour(brush, colours::kPage), kDisabledFade);
  }
  if (focus) {
    // The system's dotted rectangle, two pixels thick from 150 % on.
    RECT ring = rc;
    const int inset = geom::Scale(2, dpi);
    InflateRect(&ring, -inset, -inset);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &ring);
    if (dpi >= 144) {
      InflateRect(&ring, -1, -1);
      DrawFocusRect(dc, &ring);
    }
  }
  RestoreDC(dc, saved);
}

void MyDrawButton::DrawFace(HDC dc) {
  int id = static_cast<int>(faceBitmap_ & 0xFFFF);
  int dpi = controls::ControlDpi(hwnd_);  // the DPI its caption's font is made for
  if (pictureFace_) {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    ui::DrawBitmapTo(dc, 0, 0, rc.right, rc.bottom, id, dpi);
    return;
  }
  ui::Bitmap bmp = ui::PictureBitmap(id, dpi);
  if (!bmp || !dc) return;
  SIZE size = ui::PictureSize(id, dpi);
  ui::MemoryDC mem(dc);
  ui::SelectGuard sel(mem.get(), bmp.get());
  TransparentBlt(dc, 0, 0, size.cx, size.cy, mem.get(), 0, 0, size.cx, size.cy, colours::kPage);
}

void MyDrawButton::DrawCaption(HDC dc) {
  std::string text = Text();
  fontHeight_ = button::CaptionFontHeight(text);
  HFONT font = controls::PageFont(controls::Face::YaHei, fontHeight_, FW_BOLD,
                                  controls::ControlDpi(hwnd_));
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  std::wstring wide = base::Wide(text);
  ui::SelectGuard sel(dc, font);
  // Measured in the font it is drawn in, so that every caption is centred.
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  geom::Point at =
      button::CaptionOrigin(rc.right, rc.bottom, size.cx, size.cy, button::IsPercentCaption(text));
  currentTextColour_ = hovering_ ? hoverTextColour_ : normalTextColour_;
  COLORREF oldColour = SetTextColor(dc, currentTextColour_);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, at.x, at.y, wide.c_str(), static_cast<int>(wide.size()));
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColour);
}

void MyDrawButton::Redraw() {
  ui::WindowDC dc(hwnd_);
  DrawItem(dc.get());
}

bool MyDrawButton::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hDC);
  result = TRUE;
  return true;
}

LRESULT MyDrawButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_GETDLGCODE: {
      // Enter comes to the button (a click) rather than to the dialog.
      auto* m = reinterpret_cast<const MSG*>(lp);
      LRESULT code = Default();
      if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        Click();
        return 0;
      }
      break;
    case WM_UPDATEUISTATE: {
      LRESULT r = Default();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return r;
    }
    case WM_GETOBJECT:
      if (pictureFace_ || !accessibleName_.empty())
        if (LRESULT r = ui::AnswerGetObject(hwnd_, wp, lp, OBJID_CLIENT)) return r;
      break;
    default: break;
  }
  return ui::Window::WindowProc(msg, wp, lp);
}

void MyDrawButton::Click() {
  if (!IsWindowEnabled(hwnd_)) return;
  SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd_), BN_CLICKED),
               reinterpret_cast<LPARAM>(hwnd_));
}

bool MyDrawButton::Describe(LONG, int child, ui::AccessibleItem& item) const {
  if (child != 0 || !hwnd_) return false;
  item.name = accessibleName_.empty() ? Text() : accessibleName_;
  item.role = accessibleRole_;
  item.state = ExtraStates();
  if (!IsWindowVisible(hwnd_)) item.state |= STATE_SYSTEM_INVISIBLE;
  if (!IsWindowEnabled(hwnd_)) item.state |= STATE_SYSTEM_UNAVAILABLE;
  if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_TABSTOP) item.state |= STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == hwnd_) item.state |= STATE_SYSTEM_FOCUSED;
  if (hovering_) item.state |= STATE_SYSTEM_HOTTRACKED;
  item.screen = ui::WindowRect(hwnd_);
  return true;
}

bool MyDrawButton::Activate(LONG, int child) {
  if (child != 0 || !IsWindowEnabled(hwnd_)) return false;
  // A reader's request arrives inside a COM call: act once it has returned.
  HWND self = hwnd_;
  ui::PostTask(self, [self] {
    if (auto* b = dynamic_cast<MyDrawButton*>(ui::Window::FromHandle(self))) b->Click();
  });
  return true;
}

void MyDrawButton::EnterHover() {
  hovering_ = true;
  faceBitmap_ = hoverBitmap_;
  Redraw();
  SetTimer(hwnd_, kHoverTimer, kHoverPeriodMs, nullptr);
}

void MyDrawButton::LeaveHover() {
  KillTimer(hwnd_, kHoverTimer);
  hovering_ = false;
  faceBitmap_ = normalBitmap_;
  Redraw();
}

void MyDrawButton::OnMouseMove(UINT flags, POINT) {
  // Dragging onto the button with the left button held is not hovering.
  if (!(flags & MK_LBUTTON) && !hovering_) EnterHover();
  Default();
}

void MyDrawButton::OnTimer(UINT_PTR id) {
  if (id != kHoverTimer) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT r = ui::WindowRect(hwnd_);
  if (hovering_ && !PtInRect(&r, cursor)) LeaveHover();
}

void MyDrawButton::OnMouseLeave() {
  // The system's button asks for WM_MOUSELEAVE for its own hot tracking;
  // when it arrives the pointer is gone, so the face goes back now rather
  // than leaving the hover face and its timer behind.
  if (hovering_) LeaveHover();
  currentTextColour_ = normalTextColour_;
  Default();
}
