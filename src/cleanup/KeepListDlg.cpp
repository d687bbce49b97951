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
    {IDC_KEEP_NOTE, 10, 10, 430, 20},         {IDC_KEEP_ENTRIES, 10, 32, 430, 140},
    {IDC_KEEP_REMOVE, 10, 180, 80, 26},       {IDC_KEEP_SITES_NOTE, 10, 222, 430, 20},
    {IDC_KEEP_SITES, 10, 244, 430, 100},      {IDC_KEEP_SITE_LABEL, 10, 356, 44, 20},
    {IDC_KEEP_SITE, 56, 352, 206, 24},        {IDC_KEEP_SITE_ADD, 270, 351, 80, 26},
    {IDC_KEEP_SITE_REMOVE, 360, 351, 80, 26}, {IDCANCEL, 360, 396, 80, 26},
};

const char kNotASite[] = "请输入网站的主机名，例如 bank.example.cn。";

// The texts of the selected lines of a multiple-selection list.
std::vector<std::string> Chosen(CHSListBox& list) {
  std::vector<std::string> chosen;
  for (int k = 0, n = list.GetCount(); k < n; ++k)
    if (SendMessageW(list.hwnd(), LB_GETSEL, static_cast<WPARAM>(k), 0) > 0)
      chosen.push_back(list.GetText(k));
  return chosen;
}

// Removes the entries named in `chosen` from `list`; true when one went.
template <class List>
bool RemoveNamed(List& list, const std::vector<std::string>& chosen) {
  bool changed = false;
  for (const std::string& name : chosen) {
    const auto& e = list.Entries();
    auto it = std::find(e.begin(), e.end(), name);
    if (it != e.end()) changed |= list.Remove(static_cast<size_t>(it - e.begin()));
  }
  return changed;
}

void Show(CHSListBox& list, const std::vector<std::string>& lines) {
  list.ResetContent();
  list.AddStrings(lines);
  list.UpdateHorizontalExtent();
}
}  // namespace

BOOL CKeepListDlg::OnInitDialog() {
  controls::LayoutDialog::OnInitDialog();
  SetLayout(controls::Layout(450, 432, kLayout));
  entries_.SubclassDlgItem(IDC_KEEP_ENTRIES, hwnd_);
  sites_.SubclassDlgItem(IDC_KEEP_SITES, hwnd_);
  SendDlgItemMessageW(hwnd_, IDC_KEEP_SITE, EM_SETLIMITTEXT, 253, 0);
  if (!Reload()) Say(kKeepFileUnreadable);
  if (!ReloadSites()) Say(kKeepSitesUnreadable);
  return TRUE;
}

bool CKeepListDlg::Reload() {
  KeepFile kf = ReadKeepFile(file_);
  Show(entries_, kf.list.Entries());
  return kf.state != KeepFile::State::kUnreadable;
}

bool CKeepListDlg::ReloadSites() {
  SitesFile sf = ReadKeepSitesFile(sitesFile_);
  Show(sites_, sf.sites.Entries());
  return sf.state != KeepFile::State::kUnreadable;
}

void CKeepListDlg::Say(const std::string& message) {
  ui::effects().ShowMessage(hwnd_, message, kCaption, MB_OK | MB_ICONWARNING);
}

bool CKeepListDlg::OnCommand(int id, int code, HWND) {
  if (id == IDC_KEEP_SITE && (code == EN_SETFOCUS || code == EN_KILLFOCUS)) {
    // Enter in the field adds the site rather than closing the window.
    SendMessageW(hwnd_, DM_SETDEFID, code == EN_SETFOCUS ? IDC_KEEP_SITE_ADD : IDCANCEL, 0);
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_KEEP_REMOVE: OnRemoveClicked(); return true;
    case IDC_KEEP_SITE_ADD: OnAddSiteClicked(); return true;
    case IDC_KEEP_SITE_REMOVE: OnRemoveSitesClicked(); return true;
  }
  return false;
}

void CKeepListDlg::OnRemoveClicked() {
  const std::vector<std::string> chosen = Chosen(entries_);
  if (chosen.empty()) return;
  std::string message =
      UpdateKeepFile(file_, [&](KeepList& list) { return RemoveNamed(list, chosen); });
  if (!message.empty()) Say(message);
  Reload();
}

void CKeepListDlg::OnAddSiteClicked() {
  const std::string site = ItemText(IDC_KEEP_SITE);
  if (SiteKey(site).empty()) {
    Say(kNotASite);
  } else {
    // A site kept already is no change and no error.
    std::string message =
        UpdateKeepSitesFile(sitesFile_, [&](KeepSites& s) { return s.Add(site); });
    if (!message.empty())
      Say(message);
    else
      SetItemText(IDC_KEEP_SITE, "");
    ReloadSites();
  }
  SetFocus(GetDlgItem(hwnd_, IDC_KEEP_SITE));
}

void CKeepListDlg::OnRemoveSitesClicked() {
  const std::vector<std::string> chosen = Chosen(sites_);
  if (chosen.empty()) return;
  std::string message =
      UpdateKeepSitesFile(sitesFile_, [&](KeepSites& s) { return RemoveNamed(s, chosen); });
  if (!message.empty()) Say(message);
  ReloadSites();
}

namespace cleanup {

void KeepLineMenu(HWND owner, CJunkListBox& list, CleanupList& rows, int index, POINT screen) {
  if (index < 0 || static_cast<size_t>(index) >= rows.Count()) return;
  const CleanupRow* row = rows.Row(rows.IdAt(static_cast<size_t>(index)));
  if (!row || row->kind != CleanupRow::Kind::kFile) return;
  ui::Menu menu(CreatePopupMenu());
  AppendMenuW(menu.get(), MF_STRING, 1, L"不再清理此文件");
  AppendMenuW(menu.get(), MF_STRING, 2, L"不再清理此文件夹中的文件");
  if (int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                  screen.x, screen.y, 0, owner, nullptr))
    KeepSelectedLine(owner, list, rows, chosen == 2);
}

void KeepSelectedLine(HWND owner, CJunkListBox& list, CleanupList& rows, bool folder) {
  auto id = list.SelectedRow();
  const CleanupRow* row = id ? rows.Row(*id) : nullptr;
  if (!row || row->kind != CleanupRow::Kind::kFile) return;
  // What is kept now leaves the list; the next scans skip it.
  KeepList kept;
  if (auto path = KeepFromNowOn(owner, row->file.path, folder); path && kept.Add(*path))
    for (size_t at : rows.RemoveKept(kept)) list.DeleteString(static_cast<int>(at));
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
