#include "app/App.h"

#include <windows.h>
#include <commctrl.h>

#include "app/MainFrameDlg.h"

bool CMirvenComputerHelperApp::InitInstance() {
  // A drive without media must not stop a folder walk with a system
  // "insert a disk" box.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  // The e-mail tool's text box is a rich edit control.
  LoadLibraryW(L"riched20.dll");
  CMainFrameDlg::GetInstance().DoModal(nullptr);
  return false;
}
