#pragma once
// The top-level window of the carried programs, in the program's look: the
// window blue, white text, icon 128, a fixed size. Sizes are design pixels
// (96 DPI) scaled by the window's DPI, which follows WM_DPICHANGED.
#include <windows.h>

#include <string>
#include <vector>

#include "controls/Fonts.h"
#include "ui/Handles.h"
#include "ui/Window.h"

namespace helpers {

class HelperWindow : public ui::Window {
 public:
  // Creates the window and its controls, hidden; false when it could not.
  virtual bool Create() = 0;
  // Ends the message loop when the window is destroyed (the program's own
  // window; not one that a test creates in its process).
  void QuitOnDestroy() { quitOnDestroy_ = true; }
  int Dpi() const { return dpi_; }

 protected:
  // The frame with this client size, centred on the screen.
  bool CreateFrame(const std::string& title, int clientWidth, int clientHeight);
  // A child placed at `r` (design pixels) in the headline face at `fontHeight`
  // and `weight`; 0 leaves the font alone.
  void AddChild(HWND child, const RECT& r, int fontHeight = 0, int weight = FW_NORMAL);
  // A static text child in white on the window's blue, or on the page blue
  // of a panel.
  HWND AddText(int id, const RECT& r, DWORD style, int fontHeight, int weight,
               bool onPanel = false);
  // The headline face at this design height, at the window's DPI.
  HFONT Font(int height, int weight) const {
    return controls::PageFont(controls::Face::YaHei, height, weight, dpi_);
  }
  int S(int v) const { return geom::Scale(v, dpi_); }
  RECT S(const RECT& r) const { return RECT{S(r.left), S(r.top), S(r.right), S(r.bottom)}; }

  void OnDpiChanged(int dpi, const RECT& suggested) override;

  BOOL OnEraseBkgnd(HDC dc) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
  void OnClose() override { DestroyWindow(hwnd_); }
  void PostNcDestroy() override;

  ui::Brush windowBrush_;
  ui::Brush pageBrush_;

 private:
  struct Child {
    HWND hwnd;
    RECT rect;
    int fontHeight, weight;
  };
  void PlaceChildren();

  bool quitOnDestroy_ = false;
  int dpi_ = geom::kDesignDpi;
  SIZE design_{};
  std::vector<Child> children_;
  std::vector<HWND> onPanel_;
};

// Shows the window and serves its messages until it is closed; returns the
// process exit code (1 when the window could not be created).
int Run(HelperWindow& window, int show);

}  // namespace helpers
