#include "app/NewVersionDlg.h"

#include "net/UpdateCheck.h"

BOOL NewVersionDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetText(update::kNotesTitle);
  SetItemText(IDC_NOTES_TEXT, update::NotesText());
  // The focus on OK, so the notes are not shown selected.
  SetFocus(Item(IDOK));
  return FALSE;
}
