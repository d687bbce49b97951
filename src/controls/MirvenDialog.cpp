#include "controls/MirvenDialog.h"

#include <oleacc.h>

#include "controls/Colours.h"
#include "controls/Fonts.h"
#include "controls/Frame.h"
#include "controls/SkinLayout.h"
#include "res/Bitmaps.h"
#include "ui/Gdi.h"
#include "base/Text.h"

namespace controls {

namespace {
// The plain skinned dialog (its own template): OK and Cancel.
constexpr Place kLayout[] = {
    {IDOK, 364, 312, 88, 24},
    {IDCANCEL, 458, 312, 88, 24},
};
}  // namespace

BOOL MirvenDialog::OnInitDialog() {
  LayoutDialog::OnInitDialog();
  if (TemplateId() == kTemplate) SetLayout(Layout(558, 348, kLayout));
  background_ = colours::kWindow;
  minimizeHovered_ = false;
  closeHovered_ = false;
  title_.clear();
  brush_.Reset(CreateSolidBrush(background_));
  return TRUE;
}

LRESULT MirvenDialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETOBJECT)
    if (LRESULT r = ui::AnswerGetObject(hwnd_, wp, lp, OBJID_TITLEBAR)) return r;
  return LayoutDialog::WindowProc(msg, wp, lp);
}

bool MirvenDialog::Describe(LONG objectId, int child, ui::AccessibleItem& item) const {
  if (objectId != OBJID_TITLEBAR || !hwnd_ || child < 0 || child > 2) return false;
  RECT wr = ui::WindowRect(hwnd_);
  const int w = wr.right - wr.left;
  geom::Rect r{0, 0, w, FrameOf(hwnd_, dpi_).pieces[0].rect.bottom};
  item.role = ROLE_SYSTEM_TITLEBAR;
  item.name = title_;
  item.state = IsWindowVisible(hwnd_) ? 0 : STATE_SYSTEM_INVISIBLE;
  if (child == 1) {
    r = skin::MinimizeDrawRect(w, dpi_);
    item.name = "最小化";
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    if (minimizeHovered_) item.state |= STATE_SYSTEM_HOTTRACKED;
  } else if (child == 2) {
    r = skin::CloseDrawRect(w, dpi_);
    item.name = "关闭";
    item.role = ROLE_SYSTEM_PUSHBUTTON;
    if (closeHovered_) item.state |= STATE_SYSTEM_HOTTRACKED;
  }
  item.screen = RECT{wr.left + r.left, wr.top + r.top, wr.left + r.right, wr.top + r.bottom};
  return true;
}

bool MirvenDialog::Activate(LONG objectId, int child) {
  if (objectId != OBJID_TITLEBAR || (child != 1 && child != 2)) return false;
  // The same commands as the window menu's, once the reader's call is done.
  PostMessageW(hwnd_, WM_SYSCOMMAND, child == 1 ? SC_MINIMIZE : SC_CLOSE, 0);
  return true;
}

void MirvenDialog::SetTitleText(const std::string& text) {
  title_ = text + "-Mirven电脑助手";
  // Keeps the taskbar and Alt+Tab in step with the painted title.
  SetWindowTextW(hwnd_, base::Wide(title_).c_str());
  PaintSkinFrame();
}

void MirvenDialog::OnPaint() {
  {
    ui::PaintDC dc(hwnd_);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc.get(), &r, brush_.get());
  }
  PaintSkinFrame();
}

void MirvenDialog::OnNcPaint() { PaintSkinFrame(); }

void MirvenDialog::OnActivate(UINT, HWND, BOOL) {
  Default();
  PaintSkinFrame();
}

BOOL MirvenDialog::OnNcActivate(BOOL) {
  BOOL r = static_cast<BOOL>(Default());
  PaintSkinFrame();
  return r;
}

void MirvenDialog::PaintSkinFrame() {
  if (!hwnd_) return;
  SIZE size = ui::WindowSize(hwnd_);
  width_ = size.cx;
  height_ = size.cy;
  DrawFrame(hwnd_, FrameOf(hwnd_, dpi_), 0, skin::kPieceCount, dpi_);
  PaintTitle();
}

void MirvenDialog::PaintTitle() {
  ui::WindowDC dc(hwnd_);
  ui::DrawTextAt(dc.get(), width_ / 2, S(6), title_, PageFont(kTitleFont, dpi_), TA_CENTER,
                 colours::kText);
}

void MirvenDialog::OnNcMouseMove(UINT, POINT screen) {
  RECT wr = ui::WindowRect(hwnd_);
  geom::Point p{screen.x - wr.left, screen.y - wr.top};
  int w = wr.right - wr.left;
  switch (skin::CaptionButtonAt(w, p, dpi_)) {
    case skin::CaptionButton::Close: {
      closeHovered_ = true;
      minimizeHovered_ = false;
      auto c = skin::CloseDrawRect(w, dpi_), m = skin::MinimizeDrawRect(w, dpi_);
      ui::DrawBitmap(hwnd_, c.left, c.top, c.Width(), c.Height(), IDB_CLOSE_HOVER, dpi_);
      ui::DrawBitmap(hwnd_, m.left, m.top, m.Width(), m.Height(), IDB_MINIMIZE, dpi_);
      break;
    }
    case skin::CaptionButton::Minimize: {
      minimizeHovered_ = true;
      closeHovered_ = false;
      auto c = skin::CloseDrawRect(w, dpi_), m = skin::MinimizeDrawRect(w, dpi_);
      ui::DrawBitmap(hwnd_, c.left, c.top, c.Width(), c.Height(), IDB_CLOSE, dpi_);
      ui::DrawBitmap(hwnd_, m.left, m.top, m.Width(), m.Height(), IDB_MINIMIZE_HOVER, dpi_);
      break;
    }
    case skin::CaptionButton::None: break;  // the flags keep their values until the pointer leaves
  }
  // Ask for WM_NCMOUSELEAVE explicitly rather than relying on the default.
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_NONCLIENT, hwnd_, 0};
  TrackMouseEvent(&tme);
  Default();
}

void MirvenDialog::OnNcLButtonDown(UINT, POINT) {
  if (!closeHovered_ && !minimizeHovered_) {
    Default();
    return;
  }
  // Pressed: the lit picture one pixel down and right, inside its place.
  const int w = ui::WindowSize(hwnd_).cx;
  auto r = closeHovered_ ? skin::CloseDrawRect(w, dpi_) : skin::MinimizeDrawRect(w, dpi_);
  ui::WindowDC dc(hwnd_);
  IntersectClipRect(dc.get(), r.left, r.top, r.right, r.bottom);
  ui::DrawBitmapTo(dc.get(), r.left + S(1), r.top + S(1), r.Width(), r.Height(),
                   closeHovered_ ? IDB_CLOSE_HOVER : IDB_MINIMIZE_HOVER, dpi_);
}

void MirvenDialog::OnNcLButtonUp(UINT, POINT) {
  if (closeHovered_) {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    if (!hwnd_) return;  // closed and destroyed
  }
  if (minimizeHovered_) {
    ShowWindow(hwnd_, SW_MINIMIZE);
    minimizeHovered_ = false;
  }
  PaintSkinFrame();  // no picture stays pressed
  Default();
}

void MirvenDialog::OnNcMouseLeave() {
  int w = ui::WindowSize(hwnd_).cx;
  auto c = skin::CloseDrawRect(w, dpi_), m = skin::MinimizeDrawRect(w, dpi_);
  ui::DrawBitmap(hwnd_, m.left, m.top, m.Width(), m.Height(), IDB_MINIMIZE, dpi_);
  ui::DrawBitmap(hwnd_, c.left, c.top, c.Width(), c.Height(), IDB_CLOSE, dpi_);
  minimizeHovered_ = false;
  closeHovered_ = false;
  Default();
}

HBRUSH MirvenDialog::OnCtlColor(HDC dc, HWND, UINT kind) {
  if (kind != CTLCOLOR_BTN && kind != CTLCOLOR_STATIC) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours::kText);
  SetBkColor(dc, background_);
  return brush_.get();
}

}  // namespace controls
