#pragma once
// A dialog whose controls are placed from one layout table in design pixels
// (100 %, 96 DPI), scaled by the window's DPI, fonts included. Its .rc
// template only says which controls exist. The window follows a change of
// DPI (WM_DPICHANGED, or the main window passing it on to its pages): new
// size, new places, new fonts, and OnDpiApplied for what a view sized
// itself.
#include "controls/PageLayout.h"
#include "ui/Dialog.h"

namespace controls {

class LayoutDialog : public ui::Dialog {
 public:
  using ui::Dialog::Dialog;

  int Dpi() const { return dpi_; }
  // Design pixels to this window's device pixels.
  int S(int v) const { return geom::Scale(v, dpi_); }
  geom::Rect S(const geom::Rect& r) const { return geom::Scale(r, dpi_); }
  // Takes `dpi` as the window's DPI: the top-left corner stays, the size,
  // the controls and the fonts follow.
  void ApplyDpi(int dpi);

 protected:
  BOOL OnInitDialog() override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDpiChanged(int dpi, const RECT& suggested) override;

  // Sizes the window to the table's design size at its DPI (the client
  // area) and places the controls, now and whenever the size or the DPI
  // changes. The table must outlive the window (a constant table).
  void SetLayout(const Layout& layout);
  // Places the controls again (after a control's font or visibility was
  // changed by the view, say).
  void Relayout();
  // Called after a change of DPI has been applied.
  virtual void OnDpiApplied() {}

  int dpi_ = geom::kDesignDpi;

 private:
  void ResizeToDesign();
  void PlaceControls(int cx, int cy);

  Layout layout_{0, 0};
  int placedW_ = -1, placedH_ = -1, placedDpi_ = 0;
};

// The DPI a control is drawn at: its dialog's, where that is a
// LayoutDialog (which may have been told of a change already), else the
// system's answer for the control.
int ControlDpi(HWND control);

// Sets the client size of `hwnd` to cx x cy device pixels, keeping its
// top-left corner (and its frame as the system draws it now).
void SetClientSize(HWND hwnd, int cx, int cy);

}  // namespace controls
