#pragma once
#include "ui/Dialog.h"

// The About box: icon, name and version, contact lines and OK.
class CAboutDlg : public ui::Dialog {
 public:
  CAboutDlg() : ui::Dialog(100) {}
};
