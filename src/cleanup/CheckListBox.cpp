#include "cleanup/CheckListBox.h"

#include <windowsx.h>

#include "ui/Handles.h"
#include "base/Text.h"

int CCheckListBox::InsertString(int index, const std::string& text) {
  int at = static_cast<int>(SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(base::Wide(text).c_str())));
  if (at >= 0) SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(at), 0);
  return at;
}

int CCheckListBox::GetCount() const {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

std::string CCheckListBox::GetText(int index) const {
  LRESULT n = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(w.data()));
  w.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
  return base::Utf8(w);
}

int CCheckListBox::GetCheck(int index) const {
  LRESULT data = SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == LB_ERR ? 0 : static_cast<int>(data);
}

void CCheckListBox::SetCheck(int index, int check) {
  SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), check);
  RECT r;
  if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(hwnd_, &r, FALSE);
}

void CCheckListBox::Toggle(int index) {
  if (index >= 0 && index < GetCount()) SetCheck(index, GetCheck(index) == 1 ? 0 : 1);
}

int CCheckListBox::BoxSize() const {
  LRESULT h = SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0);
  return h > 4 ? static_cast<int>(h) - 2 : 13;
}

bool CCheckListBox::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    DrawLine(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  }
  if (msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    mi->itemHeight = 18;
    result = TRUE;
    return true;
  }
  return false;
}

void DrawCheckLine(const DRAWITEMSTRUCT& di, int box, int tick, const std::string& line) {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT b{r.left + 2, r.top + (r.bottom - r.top - box) / 2, 0, 0};
  b.right = b.left + box;
  b.bottom = b.top + box;
  if (tick >= 0)
    DrawFrameControl(dc, &b, DFC_BUTTON, DFCS_BUTTONCHECK | (tick == 1 ? DFCS_CHECKED : 0));
  std::wstring text = base::Wide(line);
  RECT t = r;
  t.left = b.right + 4;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void CCheckListBox::DrawLine(const DRAWITEMSTRUCT& di) {
  if (di.itemID == static_cast<UINT>(-1)) return;
  const int index = static_cast<int>(di.itemID);
  DrawCheckLine(di, BoxSize(), GetCheck(index) == 1 ? 1 : 0, GetText(index));
}

LRESULT CCheckListBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFONT) {
    // Lines one and a half times the font's height, whatever the DPI.
    LRESULT r = Default();
    HDC dc = GetDC(hwnd_);
    TEXTMETRICW tm{};
    {
      ui::SelectGuard sel(dc, reinterpret_cast<HFONT>(wp));
      GetTextMetricsW(dc, &tm);
    }
    ReleaseDC(hwnd_, dc);
    if (tm.tmHeight > 0) SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, tm.tmHeight * 3 / 2);
    return r;
  }
  if (msg == WM_LBUTTONDOWN) {
    LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lp);
    LRESULT r = Default();
    if (!HIWORD(hit) && GET_X_LPARAM(lp) < BoxSize() + 4) Toggle(LOWORD(hit));
    return r;
  }
  if (msg == WM_LBUTTONDBLCLK) {
    LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lp);
    if (!HIWORD(hit)) Toggle(LOWORD(hit));
    return Default();
  }
  if (msg == WM_KEYDOWN && wp == VK_SPACE) {
    Toggle(static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
    return 0;
  }
  return ui::Window::WindowProc(msg, wp, lp);
}

std::vector<bool> CCheckListBox::Checks() const {
  std::vector<bool> checks;
  for (int k = 0; k < GetCount(); ++k) checks.push_back(GetCheck(k) == 1);
  return checks;
}

void CCheckListBox::CheckAll(bool on) {
  for (int k = 0; k < GetCount(); ++k) SetCheck(k, on ? 1 : 0);
}

bool CCheckListBox::AnyChecked() const {
  for (int k = 0; k < GetCount(); ++k)
    if (GetCheck(k) == 1) return true;
  return false;
}
