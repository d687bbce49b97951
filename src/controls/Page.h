#pragma once
// Base of the five pages of the main window: a borderless child dialog of
// 781 x 400 pixels in the page colour, whose statics draw white on it.
// It also places the page's controls from a layout table and can draw the
// skinned frame's edges around the page.
#include <cstddef>

#include "controls/PageLayout.h"
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
  void OnPaint() override;
  void OnNcPaint() override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
  HCURSOR OnQueryDragIcon() override;
  // Pages live as long as the main window; Enter and Esc must not end them.
  void OnOK() override {}
  void OnCancel() override;

  // Places the controls now and whenever the page's size changes; the
  // table must outlive the page (a constant table).
  void SetLayout(const Place* places, size_t count);
  template <size_t N>
  void SetLayout(const Place (&places)[N]) {
    SetLayout(places, N);
  }
  // Pages with the skinned frame's edges around them.
  void SetFramed(bool framed) { framed_ = framed; }
  void PaintPageFrame();

  ui::Brush pageBrush_;

 private:
  void Layout(int cx, int cy);

  const Place* places_ = nullptr;
  size_t placeCount_ = 0;
  int layoutWidth_ = 0, layoutHeight_ = 0;
  bool framed_ = false;
};

}  // namespace controls
