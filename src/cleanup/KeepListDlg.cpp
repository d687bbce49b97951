#include "cleanup/KeepListDlg.h"

#include <algorithm>
#include <vector>

#include "cleanup/CleanupText.h"
#include "cleanup/KeepStore.h"
#include "ui/Effects.h"

using namespace cleanup;

namespace {
constexpr controls::Place kLayout[] = {
    {IDC_KEEP_NOTE, 10, 10, 430, 20},
    {IDC_KEEP_ENTRIES, 10, 32, 430, 190},
    {IDC_KEEP_REMOVE, 10, 232, 80, 26},
    {IDCANCEL, 360, 232, 80, 26},
};
}  // namespace

BOOL CKeepListDlg::OnInitDialog() {
  controls::LayoutDialog::OnInitDialog();
  SetLayout(controls::Layout(450, 268, kLayout));
  entries_.SubclassDlgItem(IDC_KEEP_ENTRIES, hwnd_);
  if (!Reload()) Say(kKeepFileUnreadable);
  return TRUE;
}

bool CKeepListDlg::Reload() {
  KeepFile kf = ReadKeepFile(file_);
  entries_.ResetContent();
  entries_.AddStrings(kf.list.Entries());
  entries_.UpdateHorizontalExtent();
  return kf.state != KeepFile::State::kUnreadable;
}

void CKeepListDlg::Say(const std::string& message) {
  ui::effects().ShowMessage(hwnd_, message, kCaption, MB_OK | MB_ICONWARNING);
}

bool CKeepListDlg::OnCommand(int id, int code, HWND) {
  if (id != IDC_KEEP_REMOVE || code != BN_CLICKED) return false;
  OnRemoveClicked();
  return true;
}

void CKeepListDlg::OnRemoveClicked() {
  std::vector<std::string> chosen;
  for (int k = 0, n = entries_.GetCount(); k < n; ++k)
    if (SendMessageW(entries_.hwnd(), LB_GETSEL, static_cast<WPARAM>(k), 0) > 0)
      chosen.push_back(entries_.GetText(k));
  if (chosen.empty()) return;
  std::string message = UpdateKeepFile(file_, [&](KeepList& list) {
    bool changed = false;
    for (const std::string& path : chosen) {
      const auto& e = list.Entries();
      auto it = std::find(e.begin(), e.end(), path);
      if (it != e.end()) changed |= list.Remove(static_cast<size_t>(it - e.begin()));
    }
    return changed;
  });
  if (!message.empty()) Say(message);
  Reload();
}
