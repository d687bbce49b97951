#pragma once
// A picture that turns while something is busy: a small child window that
// shows its frames one after another on a timer of the window's own thread.
// Stop lets the current round finish at its own pace, then shows the idle
// picture, or hides the window when there is none.
#include <vector>

#include "ui/Window.h"

namespace controls {

class BusyAnimation : public ui::Window {
 public:
  ~BusyAnimation() override;

  // A child `id` of `parent`; the parent's layout table places it. `name`
  // is what a screen reader calls the picture.
  bool Create(HWND parent, int id, std::vector<int> frames, int periodMs, int idleBitmap = 0,
              const char* name = "");
  void Start();
  void Stop();
  // Holds the picture where it is, and lets it go on.
  void Pause();
  void Resume();
  // True from Start until the round after Stop has finished.
  bool Busy() const { return turning_; }
  int ShownBitmap() const;

 protected:
  void OnPaint() override;
  BOOL OnEraseBkgnd(HDC) override { return TRUE; }
  void OnTimer(UINT_PTR id) override;

 private:
  std::vector<int> frames_;
  int idle_ = 0;
  int periodMs_ = 100;
  size_t frame_ = 0;
  bool turning_ = false;
  bool stopping_ = false;
  bool paused_ = false;
};

}  // namespace controls
