#pragma once
// The keep-list window, opened from the "清理选项" tab: shows keep.txt's
// paths and removes the chosen ones. Every change is read from and written
// to the file at once, so the window and the page never disagree.
#include <string>

#include "controls/HSListBox.h"
#include "res/resource.h"
#include "controls/LayoutDialog.h"

class CKeepListDlg : public controls::LayoutDialog {
 public:
  explicit CKeepListDlg(std::string file) : controls::LayoutDialog(IDD_KEEP_LIST), file_(std::move(file)) {}

  CHSListBox& Entries() { return entries_; }
  // Removes the selected entries from the file and the list.
  void OnRemoveClicked();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  // False when the file is there but cannot be read.
  bool Reload();
  void Say(const std::string& message);

  std::string file_;
  CHSListBox entries_;
};
