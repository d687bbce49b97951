#pragma once
// The clock's window: an analog face over the digital time and the date.
// A UI timer reads the time (through the Effects seam) and repaints when
// the second changes; the face is drawn off screen and copied in one go.
#include "clock/ClockModel.h"
#include "common/HelperWindow.h"

namespace helpers {

class ClockWnd : public HelperWindow {
 public:
  static constexpr int kTimeId = 1001;
  static constexpr int kDateId = 1002;

  bool Create() override;
  // Reads the clock now and shows it.
  void Tick();

 protected:
  void OnPaint() override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;

 private:
  void DrawFace(HDC dc) const;

  clockface::Moment now_{};
  bool shown_ = false;
};

}  // namespace helpers
