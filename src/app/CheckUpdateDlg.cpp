#include "app/CheckUpdateDlg.h"

#include "controls/Fonts.h"
#include "net/Server.h"
#include "net/UpdateCheck.h"
#include "ui/Effects.h"

BOOL CheckUpdateDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetText(update::kUpdateTitle);
  SendMessageW(Item(IDC_UPDATE_TEXT), WM_SETFONT,
               reinterpret_cast<WPARAM>(controls::PageFont(controls::Face::YaHei, 20, FW_BOLD)),
               FALSE);
  SetItemText(IDC_UPDATE_TEXT, update::NewVersionLine(version_));
  return TRUE;
}

bool CheckUpdateDlg::OnCommand(int id, int, HWND) {
  if (id != IDC_UPDATE_DOWNLOAD) return false;
  // The window stays open.
  ui::effects().ShellOpen(net::MakerServer() + update::kDownloadPath, "", SW_SHOWNORMAL);
  return true;
}
