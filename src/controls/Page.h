#pragma once
// Base of the five pages of the main window: a borderless child dialog of
// 781 x 400 design pixels in the page colour, whose statics draw white on
// it. It places the page's controls from its layout table and can draw the
// skinned frame's edges around the page.
#include "controls/LayoutDialog.h"
#include "ui/Handles.h"

namespace controls {

class Page : public LayoutDialog {
 public:
  static constexpr int kWidth = 781;
  static constexpr int kHeight = 400;

  using LayoutDialog::LayoutDialog;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnEraseBkgnd(HDC dc) override;
  void OnPaint() override;
  void OnNcPaint() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
  HCURSOR OnQueryDragIcon() override;
  // Pages live as long as the main window; Enter and Esc must not end them.
  void OnOK() override {}
  void OnCancel() override;

  // The page's controls, on its 781 x 400 design.
  template <size_t N>
  void SetLayout(const Place (&places)[N]) {
    LayoutDialog::SetLayout(Layout(kWidth, kHeight, places));
  }
  // Pages with the skinned frame's edges around them.
  void SetFramed(bool framed) { framed_ = framed; }
  void PaintPageFrame();

  ui::Brush pageBrush_;

 private:
  bool framed_ = false;
};

}  // namespace controls
