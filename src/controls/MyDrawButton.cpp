#include "controls/MyDrawButton.h"

#include "controls/ButtonCaption.h"
#include "controls/Colours.h"
#include "controls/Fonts.h"
#include "controls/LayoutDialog.h"
#include "ui/Gdi.h"
#include "ui/Pictures.h"
#include "base/Text.h"

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

void MyDrawButton::DrawItem(HDC dc) {
  // Whatever DC it is given, nothing lands outside the button.
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, rc.right, rc.bottom);
  DrawFace(dc);
  DrawCaption(dc);
  RestoreDC(dc, saved);
}

void MyDrawButton::DrawFace(HDC dc) {
  int id = static_cast<int>(faceBitmap_ & 0xFFFF);
  int dpi = controls::ControlDpi(hwnd_);  // the DPI its caption's font is made for
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
  if (msg == WM_MOUSELEAVE) {
    OnMouseLeave();
    return 0;
  }
  return ui::Window::WindowProc(msg, wp, lp);
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
