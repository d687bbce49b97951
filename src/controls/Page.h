#pragma once
// Base of the five pages of the main window: a borderless child dialog of
// 781 x 400 pixels in the page colour, whose statics draw white on it.
#include "ui/Dialog.h"
#include "ui/Handles.h"

namespace controls {

class Page : public ui::Dialog {
 public:
  static constexpr int kWidth = 781;
  static constexpr int kHeight = 400;

  using ui::Dialog::Dialog;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnEraseBkgnd(HDC dc) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
  // Pages live as long as the main window; Enter and Esc must not end them.
  void OnOK() override {}
  void OnCancel() override;

  ui::Brush pageBrush_;
};

}  // namespace controls
