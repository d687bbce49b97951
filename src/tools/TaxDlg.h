#pragma once
// The income-tax calculator: the bracket table for reference, and the tax
// and net wage for the gross wage typed in.
#include "controls/MirvenDialog.h"

class TaxDlg : public controls::MirvenDialog {
 public:
  static constexpr int kTemplate = 114;
  TaxDlg() : controls::MirvenDialog(kTemplate) {}

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;
  void OnDpiApplied() override;

 private:
  void FillTable();
  void Compute();
  void ShowValues();

  double gross_ = 0;
  double net_ = 0;
  double tax_ = 0;
};
