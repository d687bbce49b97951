#pragma once
// The memory speed-up page (page 5): the memory load on a round dial, the
// used and total memory, a message for the load, refreshed every five
// seconds; "立即加速" trims the processes' working sets on a worker and
// then tells how much memory that freed.
#include "controls/MyDrawButton.h"
#include "controls/Page.h"
#include "memory/MemoryText.h"
#include "ui/Worker.h"

class OptDialog : public controls::Page {
 public:
  static constexpr int kTemplate = 120;
  static constexpr UINT_PTR kRefreshTimer = 1021;
  static constexpr UINT kRefreshPeriodMs = 5000;

  OptDialog() : controls::Page(kTemplate) {}

  void OnSpeedUpClicked();
  bool SpeedingUp() const { return panel_.Running(); }

 protected:
  BOOL OnInitDialog() override;
  void OnPaint() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnTimer(UINT_PTR id) override;

 private:
  void Refresh();
  void FinishSpeedUp();
  void ShowPercentAndMessage();

  memory::SpeedUpPanel panel_;
  MyDrawButton speedUp_, usage_;
  // Waits for a running speed-up when the page goes.
  ui::Worker worker_;
};
