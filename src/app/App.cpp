#include "app/App.h"

#include <windows.h>
#include <commctrl.h>

#include "app/MainFrameDlg.h"

bool CMirvenComputerHelperApp::InitInstance() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  // The e-mail tool's text box is a rich edit control.
  LoadLibraryW(L"riched20.dll");
  CMainFrameDlg::GetInstance().DoModal(nullptr);
  return false;
}
