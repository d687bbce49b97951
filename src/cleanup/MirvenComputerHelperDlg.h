#pragma once
// The junk cleanup page (page 1): pick a folder or drive, scan it for junk
// files, review the list, delete them and clear the chosen traces.
//
// Each scan, folder measurement and clean-all runs on a worker thread with
// a job object of its own; workers never touch the page or its controls,
// they fill their job and post a message, and the page takes the results
// on its own thread. A message of an older job is ignored, so a stopped
// scan that is still unwinding cannot disturb the next one.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "cleanup/CheckListBox.h"
#include "cleanup/FileOps.h"
#include "controls/BusyAnimation.h"
#include "controls/DirTreeCtrl.h"
#include "controls/HSListBox.h"
#include "controls/MyDrawButton.h"
#include "controls/MyProgressCtrl.h"
#include "controls/Page.h"
#include "ui/Handles.h"

namespace cleanup {
// A file the scan found, on its way from the walk to the list.
struct Found {
  std::string path;
  FileIdentity identity;
  uint64_t kb;
};
struct ScanJob;
struct MeasureJob;
struct CleanJob;
}  // namespace cleanup

class CMirvenComputerHelperDlg : public controls::Page {
 public:
  static constexpr int kTemplate = 102;

  CMirvenComputerHelperDlg();
  ~CMirvenComputerHelperDlg() override;

  // The buttons' handlers; the check-up page starts scans with OnStartClicked.
  void OnStartClicked();
  void OnScanNowClicked();
  void OnStopClicked();
  void OnPauseClicked();
  void OnCleanClicked();
  void OnCleanAllClicked();
  void OnSelectAllClicked();
  void OnSelectNoneClicked();

  bool IsScanning() const { return scanning_; }
  bool IsPaused() const { return paused_; }
  bool IsCleaning() const { return cleanJob_ != nullptr; }

  // The folder or drive the next scan walks, as picking it in the tree
  // sets it; its size is measured on a worker.
  void SetScanRoot(const std::string& root);
  const std::string& ScanRoot() const { return scanRoot_; }
  uint64_t RootSizeKB() const { return rootSizeKB_; }
  bool RootSizeKnown() const { return rootSizeKnown_; }

  // What the last scan found, as far as it is shown.
  uint64_t JunkCount() const { return junkCount_; }
  uint64_t JunkKB() const { return junkKB_; }
  // The listed files that "清理" and "全部清理" may still delete.
  std::vector<std::string> ListedFiles() const;

  CCheckListBox& Options() { return options_; }
  CHSListBox& JunkList() { return junkList_; }
  CDirTreeCtrl& Tree() { return tree_; }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  BOOL OnEraseBkgnd(HDC) override { return TRUE; }
  BOOL OnNcActivate(BOOL) override { return TRUE; }
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(NMHDR* hdr, LRESULT& result) override;
  void OnClose() override;
  void OnTimer(UINT_PTR id) override;

 private:
  struct Listed {
    cleanup::FileIdentity identity;
    uint64_t kb;
  };

  bool AnyOptionChecked() const;
  bool StartRefused();
  void StartScan();
  void FinishScan();
  void ShowScanSummary();
  void TakeScanResults();
  // Adds found files to the list for a moment; true once none are left.
  bool ShowPending();
  void EndScan();
  void OnScanProgress(uint64_t generation, bool done);
  void OnMeasured(uint64_t generation);
  void TakeCleanResults();
  void OnCleanProgress(uint64_t generation, bool done);
  void OnTabSelChange();
  void OnTreeSelChanging(HTREEITEM item);
  void SetStatusFont(int weight);
  void SetStatus(const std::string& text);
  void AddLine(const std::string& text);
  void Enable(int id, bool on) { EnableWindow(Item(id), on ? TRUE : FALSE); }

  CCheckListBox options_;
  CHSListBox junkList_;
  MyProgressCtrl progress_;
  MyDrawButton start_, clean_, cleanAll_, pause_, stop_, selectAll_, selectNone_, scanNow_;
  CDirTreeCtrl tree_;
  controls::BusyAnimation busy_;

  std::string scanRoot_;
  uint64_t rootSizeKB_ = 0;
  bool rootSizeKnown_ = false;
  uint64_t junkKB_ = 0;
  uint64_t junkCount_ = 0;
  bool scanning_ = false;
  bool paused_ = false;
  std::unordered_map<std::string, Listed> listed_;
  // Found by the walk, not yet in the list.
  std::deque<cleanup::Found> pending_;
  bool walkEnded_ = false;

  uint64_t generation_ = 0;
  std::shared_ptr<cleanup::ScanJob> scanJob_;
  std::shared_ptr<cleanup::MeasureJob> measureJob_;
  std::shared_ptr<cleanup::CleanJob> cleanJob_;
  ui::KernelHandle scanWorker_, measureWorker_, cleanWorker_;
  // Workers of earlier jobs that may still be unwinding; waited for at the end.
  std::vector<ui::KernelHandle> retired_;
};
