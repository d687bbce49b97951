#include "cleanup/JunkListBox.h"

#include <windowsx.h>
#undef SubclassWindow  // windowsx.h's macro, not our method

#include <algorithm>

#include "cleanup/CheckListBox.h"
#include "ui/Handles.h"
#include "base/Text.h"

std::string CJunkListBox::SortKey(const std::string& text) const {
  std::string key = SortKey(base::Wide(text));
  return key.empty() && !text.empty() ? text : key;
}

std::string CJunkListBox::SortKey(const std::wstring& w) const {
  if (!locale_) locale_ = static_cast<LCID>(SendMessageW(hwnd_, LB_GETLOCALE, 0, 0));
  if (!locale_) locale_ = LOCALE_USER_DEFAULT;
  const int length = static_cast<int>(w.size());
  std::string key(w.size() * 4 + 16, '\0');
  int n = LCMapStringW(locale_, LCMAP_SORTKEY | NORM_IGNORECASE, w.c_str(), length,
                       reinterpret_cast<wchar_t*>(key.data()), static_cast<int>(key.size()));
  if (n == 0) {
    n = LCMapStringW(locale_, LCMAP_SORTKEY | NORM_IGNORECASE, w.c_str(), length, nullptr, 0);
    if (n <= 0) return {};
    key.assign(static_cast<size_t>(n), '\0');
    n = LCMapStringW(locale_, LCMAP_SORTKEY | NORM_IGNORECASE, w.c_str(), length,
                     reinterpret_cast<wchar_t*>(key.data()), n);
  }
  // The count includes the terminating zero, which orders nothing.
  key.resize(n > 0 ? static_cast<size_t>(n) - 1 : 0);
  return key;
}

void CJunkListBox::AddFiles(cleanup::CleanupList& rows, std::vector<cleanup::FoundFile> files) {
  // Each path turned to UTF-16 once, for its key and for its line.
  std::vector<std::wstring> texts;
  std::vector<std::string> keys;
  texts.reserve(files.size());
  keys.reserve(files.size());
  for (const cleanup::FoundFile& f : files) {
    texts.push_back(base::Wide(f.path));
    std::string key = SortKey(texts.back());
    keys.push_back(key.empty() ? f.path : std::move(key));
  }
  // The new rows' ids follow the last one given, in the order of `files`.
  const cleanup::CleanupList::RowId first = rows.LastId() + 1;
  std::vector<NewLine> lines;
  for (auto [at, id] : rows.AddFiles(std::move(files), std::move(keys)))
    lines.push_back({static_cast<int>(at), std::move(texts[id - first]), static_cast<LPARAM>(id)});
  InsertLines(lines);
}

void CJunkListBox::AddMessage(cleanup::CleanupList& rows, const std::string& text) {
  ShowAdded(rows, rows.AddMessage(text, SortKey(text)));
}

void CJunkListBox::AddItem(cleanup::CleanupList& rows, int option, const std::string& text) {
  ShowAdded(rows, rows.AddItem(option, text, SortKey(text)));
}

void CJunkListBox::ShowAdded(const cleanup::CleanupList& rows, size_t at) {
  InsertString(static_cast<int>(at), rows.Row(rows.LastId())->Text(), rows.LastId());
  UpdateHorizontalExtent();
}

void CJunkListBox::Remove(cleanup::CleanupList& rows, cleanup::CleanupList::RowId id) {
  if (auto at = rows.Remove(id)) DeleteString(static_cast<int>(*at));
}

std::optional<cleanup::CleanupList::RowId> CJunkListBox::SelectedRow() const {
  int sel = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
  if (sel < 0) return std::nullopt;
  return static_cast<cleanup::CleanupList::RowId>(GetItemData(sel));
}

void CJunkListBox::Freeze() {
  if (!frozen_) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  frozen_ = true;
}

void CJunkListBox::Thaw() {
  if (!frozen_) return;
  frozen_ = false;
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateHorizontalExtent();
}

namespace {
constexpr UINT_PTR kFoundTimer = 0x4A4C;
constexpr ULONGLONG kSliceMs = 40;
constexpr ULONGLONG kShowMs = 500;
constexpr ULONGLONG kPaceMs = 100;
constexpr size_t kSliceFiles = 256;
}  // namespace

bool CJunkListBox::TakeFound(cleanup::CleanupList& rows, cleanup::ScanSession& session) {
  const ULONGLONG start = GetTickCount64();
  if (start < paceUntil_ && !session.WalkEnded()) {
    if (!armed_) Arm(paceUntil_ - start);
    return false;
  }
  Freeze();
  for (std::vector<cleanup::FoundFile> slice;
       GetTickCount64() < start + kSliceMs && !(slice = session.TakeSlice(kSliceFiles)).empty();)
    AddFiles(rows, std::move(slice));
  if (start >= shown_ + kShowMs) {
    Thaw();
    shown_ = start;
  }
  paceUntil_ = 0;
  if (session.Done()) {
    Disarm();
    return true;
  }
  // The rest follows on a timer, which yields to input; lines not yet shown
  // while the walk finds nothing more show soon.
  if (session.HasPending()) {
    Arm(10);
  } else {
    paceUntil_ = start + kPaceMs;
    Arm(frozen_ ? std::min(kShowMs, kPaceMs) : kPaceMs);
  }
  return false;
}

void CJunkListBox::EndFound() {
  Disarm();
  paceUntil_ = 0;
  Thaw();
}

void CJunkListBox::Arm(ULONGLONG ms) {
  SetTimer(hwnd_, kFoundTimer, static_cast<UINT>(ms), nullptr);
  armed_ = true;
}

void CJunkListBox::Disarm() {
  if (armed_) KillTimer(hwnd_, kFoundTimer);
  armed_ = false;
}

void CJunkListBox::SubclassWindow(HWND listBox) {
  CHSListBox::SubclassWindow(listBox);
  FitToFont();
}

void CJunkListBox::FitToFont() {
  // A line as high as the font's text with a little room; the box fills it.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  ui::ClientDC dc(hwnd_);
  HGDIOBJ old = SelectObject(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  SelectObject(dc.get(), old);
  const int height = tm.tmHeight + tm.tmExternalLeading + 2;
  SendMessageW(hwnd_, LB_SETITEMHEIGHT, 0, height);
  SetLeadingWidth(BoxSize() + 6);
}

int CJunkListBox::BoxSize() const {
  LRESULT h = SendMessageW(hwnd_, LB_GETITEMHEIGHT, 0, 0);
  return h > 6 ? static_cast<int>(h) - 4 : 2;
}

void CJunkListBox::ToggleLine(int index) {
  if (!rows_ || index < 0 || static_cast<size_t>(index) >= rows_->Count()) return;
  if (rows_->Toggle(rows_->IdAt(static_cast<size_t>(index)))) RedrawLine(index);
}

void CJunkListBox::MarkDone(cleanup::CleanupList::RowId id) {
  if (!rows_) return;
  rows_->MarkDone(id);
  if (auto at = rows_->IndexOf(id)) RedrawLine(static_cast<int>(*at));
}

void CJunkListBox::RedrawLine(int index) {
  RECT r;
  if (SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(hwnd_, &r, FALSE);
}

bool CJunkListBox::OnReflect(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg != WM_DRAWITEM) return false;
  DrawLine(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
  result = TRUE;
  return true;
}

void CJunkListBox::DrawLine(const DRAWITEMSTRUCT& di) {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  if (di.itemID == static_cast<UINT>(-1)) {
    if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  const int tick = rows_ ? rows_->Tick(static_cast<cleanup::CleanupList::RowId>(di.itemData)) : -1;
  DrawCheckLine(di, BoxSize(), tick, GetText(static_cast<int>(di.itemID)));
}

LRESULT CJunkListBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp != kFoundTimer) break;
      Disarm();
      if (more) more();
      return 0;
    case WM_LBUTTONDOWN: {
      LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, lp);
      LRESULT r = Default();
      RECT line{};
      SendMessageW(hwnd_, LB_GETITEMRECT, LOWORD(hit), reinterpret_cast<LPARAM>(&line));
      const int x = GET_X_LPARAM(lp) - line.left;
      if (!HIWORD(hit) && x >= 0 && x < BoxSize() + 4) ToggleLine(LOWORD(hit));
      return r;
    }
    case WM_KEYDOWN:
      if (wp == VK_SPACE) {
        int sel = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
        ToggleLine(sel);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == L' ') return 0;  // no search for a line starting with a space
      break;
    case WM_CONTEXTMENU: {
      POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      int index = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
      if (screen.x != -1 || screen.y != -1) {
        // The line under the mouse becomes the selected one.
        POINT client = screen;
        ScreenToClient(hwnd_, &client);
        LRESULT hit = SendMessageW(hwnd_, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
        index = HIWORD(hit) ? -1 : LOWORD(hit);
        SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      } else {
        RECT r{};
        SendMessageW(hwnd_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&r));
        screen = {r.left + BoxSize(), r.bottom};
        ClientToScreen(hwnd_, &screen);
      }
      if (contextMenu) contextMenu(index, screen);
      return 0;
    }
    case WM_SETFONT: {
      LRESULT r = CHSListBox::WindowProc(msg, wp, lp);
      FitToFont();
      return r;
    }
    default: break;
  }
  return CHSListBox::WindowProc(msg, wp, lp);
}
