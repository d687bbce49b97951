#include "cleanup/KeepListDlg.h"

#include <algorithm>
#include <vector>

#include "cleanup/CleanupText.h"
#include "cleanup/KeepStore.h"
#include "ui/Effects.h"

using namespace cleanup;

BOOL CKeepListDlg::OnInitDialog() {
  entries_.SubclassDlgItem(IDC_KEEP_ENTRIES, hwnd_);
  Reload();
  return TRUE;
}

void CKeepListDlg::Reload() {
  KeepFile kf = ReadKeepFile(file_);
  entries_.ResetContent();
  entries_.AddStrings(kf.list.Entries());
  entries_.UpdateHorizontalExtent();
  if (kf.state == KeepFile::State::kUnreadable)
    ui::effects().ShowMessage(hwnd_, kKeepFileUnreadable, kCaption, MB_OK | MB_ICONWARNING);
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
  if (!message.empty())
    ui::effects().ShowMessage(hwnd_, message, kCaption, MB_OK | MB_ICONWARNING);
  Reload();
}
