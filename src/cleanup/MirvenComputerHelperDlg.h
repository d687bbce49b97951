#pragma once
// The junk cleanup page (page 1): pick a folder or drive, scan it for junk
// files, review the list, delete them and clear the chosen traces.
//
// The page is a view: the scan and the clean are a CleanupRun, what the
// list shows is a CleanupList, what can be clicked a CleanupFlow. The walk,
// the folder measurement and clean-all run on workers that reach the page
// only through ui::PostTask; results of a run that is no longer the
// page's are ignored.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cleanup/CheckListBox.h"
#include "cleanup/CleanupFlow.h"
#include "cleanup/CleanupList.h"
#include "cleanup/CleanupRun.h"
#include "cleanup/CleanupWork.h"
#include "cleanup/JunkListBox.h"
#include "cleanup/KeepListDlg.h"
#include "cleanup/OptionList.h"
#include "cleanup/RunLock.h"
#include "controls/BusyAnimation.h"
#include "controls/DirTreeCtrl.h"
#include "controls/MyDrawButton.h"
#include "controls/MyProgressCtrl.h"
#include "controls/Page.h"
#include "controls/StatusLine.h"

class CMirvenComputerHelperDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 102;

  CMirvenComputerHelperDlg();
  ~CMirvenComputerHelperDlg() override;

  // The buttons' handlers; the check-up page starts scans with OnStartClicked.
  void OnStartClicked();
  void OnScanNowClicked() {
    if (!StartRefused()) StartScan();
  }
  void OnStopClicked();
  void OnPauseClicked();
  void OnCleanClicked();
  void OnCleanAllClicked();
  void OnSelectAllClicked() { options_.TickAll(true); }
  void OnSelectNoneClicked() { options_.TickAll(false); }
  void OnKeepListClicked();
  // The right-click menu's choices for the selected line: keep its file, or
  // every file in its folder, from now on.
  void KeepSelected(bool folder) { KeepSelectedLine(hwnd_, junkList_, rows_, folder); }

  bool IsScanning() const { return flow_.Scanning(); }
  bool IsPaused() const { return flow_.Current() == cleanup::CleanupFlow::State::kPaused; }
  bool IsCleaning() const { return flow_.Cleaning(); }

  // The folder or drive the next scan walks, as picking it in the tree
  // sets it; a folder's size is measured on a worker.
  void SetScanRoot(const std::string& root) { work_->SetRoot(root); }
  const std::string& ScanRoot() const { return work_->Root(); }
  uint64_t RootSizeKB() const { return work_->RootKB(); }
  bool RootSizeKnown() const { return work_->RootKnown(); }

  // What the last scan listed, and the files "清理" and "全部清理" may still delete.
  uint64_t JunkCount() const { return run_ ? run_->Session().JunkCount() : 0; }
  uint64_t JunkKB() const { return run_ ? run_->Session().JunkKB() : 0; }
  std::vector<std::string> ListedFiles() const { return rows_.SortedPaths(); }

  CCheckListBox& Options() { return options_; }
  // The options tab's model: which options show, and the ticks.
  cleanup::OptionList& Choices() { return choices_; }
  // True once the installed programs' options show.
  bool ProgramsKnown() const { return choices_.ProgramsKnown(); }
  CJunkListBox& JunkList() { return junkList_; }
  const cleanup::CleanupList& Rows() const { return rows_; }
  CDirTreeCtrl& Tree() { return tree_; }

 protected:
  BOOL OnInitDialog() override;
  BOOL OnNcActivate(BOOL) override { return TRUE; }
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(NMHDR* hdr, LRESULT& result) override;
  void OnClose() override;

 private:
  bool StartRefused();
  void StartScan();
  // Moves found files into the list; the list's timer brings the rest.
  void ShowPending();
  void FinishScan();
  void FinishClean(const cleanup::CleanTally& tally);
  void OnDpiApplied() override;
  void Enable(int id, bool on) { EnableWindow(Item(id), on ? TRUE : FALSE); }
  // The buttons as the flow allows them now.
  void ShowFlow();
  // Starts a clean of `ticked` and `options` under the run lock, held already.
  void StartClean(cleanup::CleanupList::Ticked ticked, cleanup::OptionSet options,
                  cleanup::CleanMode mode);
  void BindControls();
  cleanup::CleanupWork::View WorkView();

  controls::StatusLine status_;
  CCheckListBox options_;
  CJunkListBox junkList_;
  MyProgressCtrl progress_;
  MyDrawButton start_, clean_, cleanAll_, pause_, stop_, selectAll_, selectNone_, scanNow_,
      keepList_;
  CDirTreeCtrl tree_;
  controls::BusyAnimation busy_;

  std::shared_ptr<cleanup::CleanupRun> run_;
  cleanup::CleanupList rows_;
  cleanup::CleanupFlow flow_;
  cleanup::OptionList choices_;
  // The rows of the clean running now, by its files' indices.
  std::vector<cleanup::CleanupList::RowId> cleaning_;
  std::string keepWarning_;
  // Held while a scan or a clean runs: command-line runs wait their turn.
  cleanup::RunLock runLock_;
  // Last: its workers end before the page's members go.
  std::unique_ptr<cleanup::CleanupWork> work_;
};
