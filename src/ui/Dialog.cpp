#include "ui/Dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "base/Text.h"

namespace ui {

HWND Dialog::CreateWindowFromTemplate(HWND parent) {
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                            DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal(HWND owner) {
  modal_ = true;
  ended_ = false;
  result_ = IDCANCEL;
  HWND h = CreateWindowFromTemplate(owner);
  if (!h) return -1;
  bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner) EnableWindow(owner, FALSE);
  if (!ended_) ShowWindow(h, SW_SHOW);
  MSG m;
  while (!ended_) {
    BOOL got = GetMessageW(&m, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (!PreTranslate(m)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  // Give the activation back to the owner before this window goes away.
  if (disabledOwner) EnableWindow(owner, TRUE);
  if (IsWindow(h)) DestroyWindow(h);
  modal_ = false;
  return result_;
}

bool Dialog::Create(HWND parent) {
  modal_ = false;
  return CreateWindowFromTemplate(parent) != nullptr;
}

void Dialog::EndDialog(INT_PTR code) {
  result_ = code;
  ended_ = true;
  if (!hwnd_) return;
  if (modal_) {
    ShowWindow(hwnd_, SW_HIDE);
    PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
  } else {
    DestroyWindow(hwnd_);
  }
}

bool Dialog::PreTranslate(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root) return false;
  wchar_t cls[16] = {};
  GetClassNameW(root, cls, 16);
  if (std::wcscmp(cls, L"#32770") != 0) return false;
  if (auto* dialog = dynamic_cast<Dialog*>(FromHandle(root)))
    if (dialog->PreTranslateKey(msg)) return true;
  return IsDialogMessageW(root, &msg) != 0;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lp);
    self->Attach(hwnd);
    return self->OnInitDialog();
  }
  // Reached through Default(): the dialog's own default handling.
  if (msg == WM_COMMAND) {
    auto* self = static_cast<Dialog*>(FromHandle(hwnd));
    if (!self) return FALSE;
    if (LOWORD(wp) == IDOK) {
      self->OnOK();
      return TRUE;
    }
    if (LOWORD(wp) == IDCANCEL) {
      self->OnCancel();
      return TRUE;
    }
  }
  return FALSE;
}

void Dialog::PostNcDestroy() {
  if (autoDelete_) DeleteWhenDone();
}

std::string Dialog::ItemText(int id) const {
  HWND h = Item(id);
  int n = GetWindowTextLengthW(h);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return base::Utf8(w);
}

void Dialog::SetItemText(int id, const std::string& text) const {
  SetDlgItemTextW(hwnd_, id, base::Wide(text).c_str());
}

int Dialog::ItemInt(int id, bool* ok) const {
  BOOL good = FALSE;
  int v = static_cast<int>(GetDlgItemInt(hwnd_, id, &good, TRUE));
  if (ok) *ok = good != FALSE;
  return v;
}

void Dialog::SetItemInt(int id, int value) const {
  SetDlgItemInt(hwnd_, id, static_cast<UINT>(value), TRUE);
}

double Dialog::ItemDouble(int id, bool* ok) const {
  std::string s = ItemText(id);
  const char* begin = s.c_str();
  char* end = nullptr;
  double v = std::strtod(begin, &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  bool good = end != begin && end && *end == '\0';
  if (ok) *ok = good;
  return good ? v : 0.0;
}

void Dialog::SetItemDouble(int id, double value) const {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  SetItemText(id, buf);
}

bool Dialog::IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }

void Dialog::SetChecked(int id, bool on) const {
  CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED);
}

int Dialog::ComboIndex(int id) const {
  return static_cast<int>(SendDlgItemMessageW(hwnd_, id, CB_GETCURSEL, 0, 0));
}

void Dialog::SetComboIndex(int id, int index) const {
  SendDlgItemMessageW(hwnd_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace ui
