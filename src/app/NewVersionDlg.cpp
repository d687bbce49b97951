#include "app/NewVersionDlg.h"

#include "net/UpdateCheck.h"

BOOL NewVersionDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetText(update::kNotesTitle);
  SetItemText(IDC_NOTES_TEXT, update::NotesText());
  return TRUE;
}
