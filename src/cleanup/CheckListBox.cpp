#include "cleanup/CheckListBox.h"

#include <windowsx.h>

#include "ui/Handles.h"
#include "base/Text.h"

void CCheckListBox::Show(cleanup::OptionList& model) {
  model_ = &model;
  const int selected = OptionAt(static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0)));
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
  for (const cleanup::OptionLine& line : model.Lines()) {
    // Inserted at the end: a sorted list box does not move it.
    auto at = SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(base::Wide(line.text).c_str()));
    if (at < 0) continue;
    SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(at), line.option);
    // The selection stays on its option as lines come and go.
    if (line.option >= 0 && line.option == selected)
      SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  }
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
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

int CCheckListBox::OptionAt(int index) const {
  if (index < 0 || index >= GetCount()) return -1;
  return static_cast<int>(SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int CCheckListBox::GetCheck(int index) const {
  const int option = OptionAt(index);
  if (option < 0 || !model_) return -1;
  return model_->Ticked(option) ? 1 : 0;
}

void CCheckListBox::Toggle(int index) {
  if (!model_ || !model_->Toggle(OptionAt(index))) return;
  RECT r;
  if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(hwnd_, &r, FALSE);
  if (toggled) toggled();
}

void CCheckListBox::ShowPrograms(std::vector<bool> present,
                                 const std::optional<cleanup::OptionSet>& remembered) {
  if (!model_) return;
  if (remembered) model_->Remember(*remembered);
  model_->SetPresent(std::move(present));
  Show(*model_);
}

void CCheckListBox::TickAll(bool on) {
  if (!model_) return;
  model_->TickAll(on);
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (toggled) toggled();
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

void DrawCheckLine(const DRAWITEMSTRUCT& di, int box, int tick, const std::string& line, int indent,
                   bool boxRoom) {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  RECT b{r.left + 2 + indent, r.top + (r.bottom - r.top - box) / 2, 0, 0};
  b.right = boxRoom ? b.left + box : b.left - 2;
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
  if (di.itemID == static_cast<UINT>(-1) || !model_) return;
  const size_t index = di.itemID;
  if (index >= model_->Lines().size()) return;
  const cleanup::OptionLine& line = model_->Lines()[index];
  // An option stands a box's width in from its program's name.
  const int tick = line.option < 0 ? -1 : model_->Ticked(line.option) ? 1 : 0;
  ui::SelectGuard font(di.hDC,
                       line.option < 0 && bold_ ? bold_.get() : GetCurrentObject(di.hDC, OBJ_FONT));
  DrawCheckLine(di, BoxSize(), tick, line.shown, line.option < 0 ? 0 : BoxSize(), line.option >= 0);
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
    LOGFONTW lf{};
    if (wp && GetObjectW(reinterpret_cast<HFONT>(wp), sizeof lf, &lf)) {
      lf.lfWeight = FW_BOLD;
      bold_ = ui::Font(CreateFontIndirectW(&lf));
    }
    return r;
  }
  if (msg == WM_LBUTTONDOWN) {
    LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lp);
    LRESULT r = Default();
    // The box, or the room in front of it.
    if (!HIWORD(hit) && GET_X_LPARAM(lp) < 2 * BoxSize() + 6) Toggle(LOWORD(hit));
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
