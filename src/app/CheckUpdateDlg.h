#pragma once
// Announces the server's newer version and opens the download page.
#include <string>

#include "controls/MirvenDialog.h"
#include "res/resource.h"

class CheckUpdateDlg : public controls::MirvenDialog {
 public:
  explicit CheckUpdateDlg(std::string version)
      : controls::MirvenDialog(IDD_CHECK_UPDATE), version_(std::move(version)) {}

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  std::string version_;
};
