#pragma once
// The top-level window of the carried programs, in the program's look: the
// window blue, white text, icon 128, a fixed size.
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

 protected:
  // The frame with this client size, centred on the screen.
  bool CreateFrame(const std::string& title, int clientWidth, int clientHeight);
  // A static text child in white on the window's blue, or on the page blue
  // of a panel.
  HWND AddText(int id, const RECT& r, DWORD style, HFONT font, bool onPanel = false);
  // The headline face at this pixel height, shared for the process.
  static HFONT Font(int height, int weight) {
    return controls::PageFont(controls::Face::YaHei, height, weight);
  }

  BOOL OnEraseBkgnd(HDC dc) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
  void OnClose() override { DestroyWindow(hwnd_); }
  void PostNcDestroy() override;

  ui::Brush windowBrush_;
  ui::Brush pageBrush_;

 private:
  bool quitOnDestroy_ = false;
  std::vector<HWND> onPanel_;
};

// Shows the window and serves its messages until it is closed; returns the
// process exit code (1 when the window could not be created).
int Run(HelperWindow& window, int show);

}  // namespace helpers
