#include "controls/HSListBox.h"

#include <cwchar>
#include <vector>

#include "ui/Handles.h"
#include "base/Text.h"

CHSListBox::~CHSListBox() {
  if (measureDC_) DeleteDC(measureDC_);
}

void CHSListBox::SubclassWindow(HWND listBox) {
  Attach(listBox);
  MeasureAll();
}

void CHSListBox::CreateMeasureDC() {
  if (measureDC_) return;
  ui::ClientDC screen(hwnd_);
  measureDC_ = CreateCompatibleDC(screen.get());
}

int CHSListBox::AddString(const std::string& text) {
  return static_cast<int>(
      SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(base::Wide(text).c_str())));
}

int CHSListBox::InsertString(int index, const std::string& text, LPARAM data) {
  int at = static_cast<int>(SendMessageW(hwnd_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(base::Wide(text).c_str())));
  if (at >= 0) SendMessageW(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(at), data);
  return at;
}

int CHSListBox::InsertLines(const std::vector<NewLine>& lines) {
  size_t chars = 0;
  for (const NewLine& l : lines) chars += l.text.size() + 1;
  // Room for them all at once rather than a little more line by line.
  SendMessageW(hwnd_, LB_INITSTORAGE, lines.size(), chars * sizeof(wchar_t));
  const bool strings = HasStrings();
  const int widest = tracker_.Widest();
  int added = 0;
  for (const NewLine& l : lines) {
    // Past this class's handling of LB_INSERTSTRING: each line is measured
    // here, from the text at hand, and the extent applied once at the end.
    LRESULT at = CallOriginal(LB_INSERTSTRING, static_cast<WPARAM>(l.index),
                              reinterpret_cast<LPARAM>(l.text.c_str()));
    if (at < 0) continue;
    CallOriginal(LB_SETITEMDATA, static_cast<WPARAM>(at), l.data);
    if (strings) tracker_.Added(Measure(l.text.c_str()));
    ++added;
  }
  if (added && (tracker_.Widest() != widest || applied_ <= 0)) Apply();
  return added;
}

LPARAM CHSListBox::GetItemData(int index) const {
  return static_cast<LPARAM>(SendMessageW(hwnd_, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int CHSListBox::AddStrings(const std::vector<std::string>& lines) {
  SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  int added = 0;
  for (const std::string& line : lines)
    if (AddString(line) >= 0) ++added;
  SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  return added;
}

int CHSListBox::DeleteString(int index) {
  return static_cast<int>(SendMessageW(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0));
}

void CHSListBox::ResetContent() { SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0); }

int CHSListBox::GetCount() const {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
}

std::string CHSListBox::GetText(int index) const {
  LRESULT n = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return {};
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(w.data()));
  w.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
  return base::Utf8(w);
}

void CHSListBox::UpdateHorizontalExtent() {
  if (stale_)
    MeasureAll();
  else
    Apply();
}

int CHSListBox::HorizontalExtent() const {
  return static_cast<int>(SendMessageW(hwnd_, LB_GETHORIZONTALEXTENT, 0, 0));
}

bool CHSListBox::HasStrings() const {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  return !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (style & LBS_HASSTRINGS);
}

int CHSListBox::CharWidth(wchar_t c) const {
  if (widths_.empty()) widths_.assign(0x10000, kUnknownWidth);
  unsigned short& w = widths_[static_cast<unsigned short>(c)];
  if (w == kUnknownWidth) {
    // The list box's own font, the one it draws the lines in; selected only
    // for the measurement, so that its owner can delete it at any time.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(measureDC_, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    GetTextExtentPoint32W(measureDC_, &c, 1, &size);
    SelectObject(measureDC_, old);
    w = static_cast<unsigned short>(size.cx < 0 ? 0 : size.cx > 0xFFFE ? 0xFFFE : size.cx);
  }
  return w;
}

int CHSListBox::Measure(const wchar_t* text) const {
  if (!measureDC_ || !text) return 0;
  size_t n = std::wcslen(text);
  bool simple = true;
  for (size_t i = 0; i < n && simple; ++i)
    simple = !IS_HIGH_SURROGATE(text[i]) && !IS_LOW_SURROGATE(text[i]);
  if (simple) {
    int width = 0;
    for (size_t i = 0; i < n; ++i) width += CharWidth(text[i]);
    return width;
  }
  // Characters beyond the first 65,536 are measured with their line.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(measureDC_, font ? font : GetStockObject(SYSTEM_FONT));
  SIZE size{};
  GetTextExtentPoint32W(measureDC_, text, static_cast<int>(n), &size);
  SelectObject(measureDC_, old);
  return size.cx;
}

int CHSListBox::MeasureLine(int index) const {
  LRESULT n = SendMessageW(hwnd_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return 0;
  std::vector<wchar_t> w(static_cast<size_t>(n) + 1, L'\0');
  SendMessageW(hwnd_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w.data()));
  return Measure(w.data());
}

void CHSListBox::MeasureAll() {
  CreateMeasureDC();
  tracker_.Reset();
  stale_ = false;
  if (HasStrings()) {
    int count = GetCount();
    for (int i = 0; i < count; ++i) tracker_.Added(MeasureLine(i));
  }
  Apply();
}

void CHSListBox::SetLeadingWidth(int width) {
  leading_ = width;
  Apply();
}

void CHSListBox::Apply() {
  int extent = tracker_.Extent(GetCount());
  if (extent > 0) extent += leading_;
  // Setting the extent redraws the scroll bar: only when it changes.
  if (extent != applied_)
    SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
}

LRESULT CHSListBox::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      LRESULT r = Default();
      if (r >= 0 && HasStrings()) {
        int widest = tracker_.Widest();
        tracker_.Added(Measure(reinterpret_cast<const wchar_t*>(lp)));
        if (tracker_.Widest() != widest || applied_ <= 0) Apply();
      }
      return r;
    }
    case LB_DELETESTRING: {
      bool widest = HasStrings() && tracker_.NeedsRemeasure(MeasureLine(static_cast<int>(wp)));
      LRESULT r = Default();
      if (r == LB_ERR) return r;
      if (widest)
        MeasureAll();
      else
        Apply();
      return r;
    }
    case LB_RESETCONTENT: {
      LRESULT r = Default();
      tracker_.Reset();
      stale_ = false;
      Apply();
      return r;
    }
    case LB_SETHORIZONTALEXTENT: applied_ = static_cast<int>(wp); return Default();
    case WM_SETFONT: {
      LRESULT r = Default();
      widths_.clear();
      MeasureAll();
      return r;
    }
    case LB_DIR:
    case LB_ADDFILE:
    case LB_SETCOUNT: {
      // Lines that arrive without their text passing here.
      LRESULT r = Default();
      stale_ = true;
      return r;
    }
    default: return ui::Window::WindowProc(msg, wp, lp);
  }
}
