#pragma once
// The keep-list window, opened from the "清理选项" tab: shows keep.txt's
// paths and removes the chosen ones. Every change is read from and written
// to the file at once, so the window and the page never disagree.
#include <string>

#include "controls/HSListBox.h"
#include "res/resource.h"
#include "ui/Dialog.h"

class CKeepListDlg : public ui::Dialog {
 public:
  explicit CKeepListDlg(std::string file) : ui::Dialog(IDD_KEEP_LIST), file_(std::move(file)) {}

  CHSListBox& Entries() { return entries_; }
  // Removes the selected entries from the file and the list.
  void OnRemoveClicked();

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void Reload();

  std::string file_;
  CHSListBox entries_;
};
