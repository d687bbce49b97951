#include "app/NewVersionDlg.h"

#include "net/UpdateCheck.h"

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_NOTES_TEXT, 18, 18, 525, 224},
    {IDOK, 236, 256, 88, 28},
};
}  // namespace

BOOL NewVersionDlg::OnInitDialog() {
  controls::MirvenDialog::OnInitDialog();
  SetLayout(controls::Layout(560, 298, kLayout));
  SetText(update::kNotesTitle);
  SetItemText(IDC_NOTES_TEXT, update::NotesText());
  // The focus on OK, so the notes are not shown selected.
  SetFocus(Item(IDOK));
  return FALSE;
}
