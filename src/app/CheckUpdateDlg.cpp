#include "app/CheckUpdateDlg.h"

#include "controls/Fonts.h"
#include "net/Server.h"
#include "net/UpdateCheck.h"
#include "ui/Effects.h"

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_UPDATE_TEXT, 18, 38, 315, 26, false, {controls::Face::YaHei, 20, FW_BOLD, false}},
    {IDC_UPDATE_DOWNLOAD, 122, 91, 105, 28},
};
}  // namespace

BOOL CheckUpdateDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetText(update::kUpdateTitle);
  SetLayout(controls::Layout(350, 158, kLayout));
  SetItemText(IDC_UPDATE_TEXT, update::NewVersionLine(version_));
  return TRUE;
}

bool CheckUpdateDlg::OnCommand(int id, int, HWND) {
  if (id != IDC_UPDATE_DOWNLOAD) return false;
  // The window stays open.
  ui::effects().ShellOpen(net::MakerServer() + update::kDownloadPath, "", SW_SHOWNORMAL);
  return true;
}
