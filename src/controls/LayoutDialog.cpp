#include "controls/LayoutDialog.h"

#include "controls/Fonts.h"
#include "ui/Dpi.h"

namespace controls {

void SetClientSize(HWND hwnd, int cx, int cy) {
  // The frame's size can change with the window's DPI: measure it again
  // after the first move and correct once.
  for (int pass = 0; pass < 2; ++pass) {
    RECT w, c;
    GetWindowRect(hwnd, &w);
    GetClientRect(hwnd, &c);
    if (c.right == cx && c.bottom == cy) return;
    int fw = (w.right - w.left) - c.right, fh = (w.bottom - w.top) - c.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, cx + fw, cy + fh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int ControlDpi(HWND control) {
  if (auto* dialog = dynamic_cast<LayoutDialog*>(ui::Window::FromHandle(GetParent(control))))
    return dialog->Dpi();
  return ui::DpiOf(control);
}

BOOL LayoutDialog::OnInitDialog() {
  dpi_ = ui::DpiOf(hwnd_);
  ui::OwnDialogScaling(hwnd_);
  return TRUE;
}

void LayoutDialog::SetLayout(const Layout& layout) {
  layout_ = layout;
  placedW_ = placedH_ = -1;
  placedDpi_ = 0;
  ResizeToDesign();
  // The dialog manager centred the template's size; centre the real one.
  if ((GetWindowLongPtrW(hwnd_, GWL_STYLE) & (DS_CENTER | WS_CHILD)) == DS_CENTER) {
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    RECT w;
    GetWindowRect(hwnd_, &w);
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi)) {
      const RECT& a = mi.rcWork;
      SetWindowPos(hwnd_, nullptr, a.left + ((a.right - a.left) - (w.right - w.left)) / 2,
                   a.top + ((a.bottom - a.top) - (w.bottom - w.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  RECT r;
  GetClientRect(hwnd_, &r);
  PlaceControls(r.right, r.bottom);
}

void LayoutDialog::Relayout() {
  placedW_ = placedH_ = -1;
  RECT r;
  GetClientRect(hwnd_, &r);
  PlaceControls(r.right, r.bottom);
}

void LayoutDialog::ResizeToDesign() {
  if (layout_.width > 0 && layout_.height > 0 && !IsZoomed(hwnd_))
    SetClientSize(hwnd_, S(layout_.width), S(layout_.height));
}

void LayoutDialog::PlaceControls(int cx, int cy) {
  if (cx <= 0 || cy <= 0) return;
  if (cx == placedW_ && cy == placedH_ && dpi_ == placedDpi_) return;
  // Fonts only with a new DPI: a view may have given a control another
  // weight meanwhile, and OnDpiApplied gives it back.
  const bool fonts = dpi_ != placedDpi_;
  placedW_ = cx;
  placedH_ = cy;
  placedDpi_ = dpi_;
  for (size_t k = 0; k < layout_.count; ++k) {
    const controls::Place& p = layout_.places[k];
    HWND item = Item(p.id);
    if (!item) continue;
    geom::Rect r = PlaceRect(p, layout_.width, layout_.height, cx, cy, dpi_);
    if (fonts)
      SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(PageFont(p.font, dpi_)), FALSE);
    SetWindowPos(item, nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void LayoutDialog::OnSize(UINT type, int cx, int cy) {
  Default();
  // Worked out from the design each time, so sizes that come and go never
  // accumulate rounding.
  if (type != SIZE_MINIMIZED) PlaceControls(cx, cy);
}

void LayoutDialog::ApplyDpi(int dpi) {
  if (dpi <= 0) return;
  dpi_ = geom::ClampDpi(dpi);
  ResizeToDesign();
  Relayout();
  OnDpiApplied();
  RedrawWindow(hwnd_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void LayoutDialog::OnDpiChanged(int dpi, const RECT& suggested) {
  ui::MoveToSuggested(hwnd_, suggested);
  ApplyDpi(dpi);
}

}  // namespace controls
