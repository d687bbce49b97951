#pragma once
// The calculator's window: the display over a grid of buttons; the keyboard
// works as well as the mouse.
#include "calculator/CalcModel.h"
#include "common/HelperWindow.h"

namespace helpers {

class CalculatorWnd : public HelperWindow {
 public:
  static constexpr int kDisplayId = 1001;
  static constexpr int kExpressionId = 1002;
  static constexpr int ButtonId(calc::Key key) { return 1100 + static_cast<int>(key); }

  bool Create() override;
  void Press(calc::Key key);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnCommand(int id, int code, HWND control) override;
  BOOL OnEraseBkgnd(HDC dc) override;

 private:
  // The main line, painted right-aligned in the largest font that fits.
  class Display : public ui::Window {
   protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }
  };

  void DrawButton(const DRAWITEMSTRUCT& item) const;
  void Update();

  calc::Calculator model_;
  Display display_;
};

}  // namespace helpers
