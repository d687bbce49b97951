#include "cleanup/KeepListDlg.h"

#include <algorithm>
#include <vector>

#include "cleanup/CleanupText.h"
#include "cleanup/KeepStore.h"
#include "cleanup/Traces.h"
#include "ui/Handles.h"
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

namespace cleanup {

int ChooseKeep(HWND owner, POINT screen) {
  ui::Menu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, 1, L"不再清理此文件");
  AppendMenuW(menu.get(), MF_STRING, 2, L"不再清理此文件夹中的文件");
  return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x,
                        screen.y, 0, owner, nullptr);
}

std::optional<std::string> KeepFromNowOn(HWND owner, const std::string& file, bool folder) {
  const std::string path = folder ? file.substr(0, file.find_last_of('\\')) : file;
  const std::string message =
      IsWholeDrive(path)
          ? WholeDriveRefusal(path)
          : UpdateKeepFile(traces().KeepListFile(), [&](KeepList& list) { return list.Add(path); });
  if (message.empty()) return path;
  ui::effects().ShowMessage(owner, message, kCaption, MB_OK | MB_ICONWARNING);
  return std::nullopt;
}

KeepList ReadKeepListTelling(HWND owner, std::string& lastWarning) {
  KeepForScan keep = ReadKeepListForScan(traces().KeepListFile());
  // Said once: the file stays as it is until the user changes the list.
  if (!keep.warning.empty() && keep.warning != lastWarning)
    ui::effects().ShowMessage(owner, keep.warning, kCaption, MB_OK | MB_ICONWARNING);
  lastWarning = keep.warning;
  return std::move(keep.list);
}

}  // namespace cleanup
