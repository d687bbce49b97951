#pragma once
// The flat green progress bar of the cleanup and check-up pages: a
// standard progress bar control (its range and position messages work
// unchanged) that paints a light green trough and a darker green bar.
#include "ui/Handles.h"
#include "ui/Window.h"

class MyProgressCtrl : public ui::Window {
 public:
  static constexpr COLORREF kTroughColour = RGB(160, 236, 124);
  static constexpr COLORREF kBarColour = RGB(42, 191, 29);

  // The control's own range and position messages, for convenience.
  void SetRange32(int lower, int upper);
  void SetPos(int pos);
  int GetPos() const;

  // Trough and bar onto a DC whose origin is the control's top-left corner.
  void Paint(HDC dc);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint() override;
  BOOL OnEraseBkgnd(HDC) override { return TRUE; }

 private:
  ui::Brush trough_;
  ui::Brush bar_;
};
