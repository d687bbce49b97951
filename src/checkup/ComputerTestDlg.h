#pragma once
// The computer check-up page (page 4): "开始体检" measures and walks the
// user's folders on a worker with a progress bar and the turning check-up
// icon, lists what kinds of junk exist and fills the computer profile on
// the right. The second button stops a check-up, hands over to the cleanup
// page when junk was found, or starts a check-up again.
//
// Each check-up has a job of its own; what an older job's worker still
// reports while it unwinds is ignored.
#include <memory>

#include "checkup/CheckUp.h"
#include "controls/BusyAnimation.h"
#include "controls/HSListBox.h"
#include "controls/MyDrawButton.h"
#include "controls/MyProgressCtrl.h"
#include "controls/Page.h"
#include "ui/Worker.h"

class ComputerTestDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 119;

  ComputerTestDlg();
  ~ComputerTestDlg() override;

  // Button 1070, and 1084 when idle.
  void StartCheckUp();
  // Button 1084: stop, go to the cleanup page, or check again.
  void OnStopOrClean();

  const checkup::CheckUpFlow& Flow() const { return flow_; }
  CHSListBox& ResultList() { return list_; }
  MyProgressCtrl& Progress() { return progress_; }
  bool IconTurning() const { return icon_.Busy(); }

 protected:
  BOOL OnInitDialog() override;
  void OnPaint() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnDpiApplied() override;

 private:
  struct Job;

  void SetStageHeadlineFont();

  void ResetCheckUp();
  void StopJob();
  void ShowProfile(const checkup::Profile& p);
  void OnFinished(bool junkFound);
  void SetCaption();

  bool stageHeadline_ = false;
  checkup::CheckUpFlow flow_;
  checkup::ProgressScale scale_{0};
  std::shared_ptr<Job> job_;
  // Its runs: the current check-up, and stopped ones still unwinding.
  ui::Worker worker_;
  MyDrawButton start_, stopOrClean_;
  MyProgressCtrl progress_;
  CHSListBox list_;
  controls::BusyAnimation icon_;
};
