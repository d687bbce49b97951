#include "calculator/CalculatorWnd.h"

#include "controls/Colours.h"
#include "base/Text.h"

namespace helpers {
namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 64, kButtonHeight = 44, kGap = 6;
constexpr RECT kPanel{kMargin, 10, kMargin + 4 * kButtonWidth + 3 * kGap, 86};
constexpr int kGridTop = kPanel.bottom + 14;
constexpr int kClientWidth = kPanel.right + kMargin;
constexpr int kClientHeight = kGridTop + 6 * kButtonHeight + 5 * kGap + kMargin;

constexpr COLORREF kDigitFace = RGB(44, 138, 214);
constexpr COLORREF kEqualsFace = RGB(255, 255, 255);

const calc::Button* ButtonOf(int id) {
  for (int i = 0; i < calc::kButtonCount; ++i)
    if (CalculatorWnd::ButtonId(calc::kButtons[i].key) == id) return &calc::kButtons[i];
  return nullptr;
}

COLORREF Darker(COLORREF c) {
  return RGB(GetRValue(c) * 4 / 5, GetGValue(c) * 4 / 5, GetBValue(c) * 4 / 5);
}

}  // namespace

bool CalculatorWnd::Create() {
  static_assert(calc::kGridRows == 6 && calc::kGridColumns == 4, "the layout above");
  if (!CreateFrame("计算器", kClientWidth, kClientHeight)) return false;
  const int inner = kPanel.left + 8, width = kPanel.right - kPanel.left - 16;
  AddText(kExpressionId, RECT{inner, kPanel.top + 4, inner + width, kPanel.top + 24},
          SS_RIGHT | SS_NOPREFIX, 16, FW_NORMAL, true);
  HWND display = AddText(kDisplayId, RECT{inner, kPanel.top + 24, inner + width, kPanel.bottom - 4},
                         SS_RIGHT | SS_NOPREFIX, 36, FW_BOLD, true);
  if (!display) return false;
  display_.Attach(display);
  for (int i = 0; i < calc::kButtonCount; ++i) {
    const calc::Button& b = calc::kButtons[i];
    int x = kMargin + b.column * (kButtonWidth + kGap);
    int y = kGridTop + b.row * (kButtonHeight + kGap);
    int w = b.columns * kButtonWidth + (b.columns - 1) * kGap;
    HWND h = CreateWindowExW(0, L"BUTTON", base::Wide(b.caption).c_str(),
                             WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(ButtonId(b.key))),
                             GetModuleHandleW(nullptr), nullptr);
    if (!h) return false;
    AddChild(h, RECT{x, y, x + w, y + kButtonHeight});
  }
  Update();
  return true;
}

void CalculatorWnd::Press(calc::Key key) {
  model_.Press(key);
  Update();
}

void CalculatorWnd::Update() {
  // Only changed texts are set: a static repaints itself on every change.
  for (auto [id, text] : {std::pair<int, const std::string*>{kDisplayId, &model_.Display()},
                          {kExpressionId, &model_.Expression()}}) {
    HWND h = Item(id);
    std::wstring wide = base::Wide(*text);
    wchar_t old[256] = {};
    GetWindowTextW(h, old, 256);
    if (wide != old) SetWindowTextW(h, wide.c_str());
  }
}

LRESULT CalculatorWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR: {
      calc::Key key;
      if (calc::KeyForChar(static_cast<char32_t>(wp), key)) Press(key);
      return 0;
    }
    case WM_KEYDOWN:
      if (wp == VK_DELETE) Press(calc::Key::ClearEntry);
      if (wp == VK_F9) Press(calc::Key::Negate);
      return 0;
    case WM_DRAWITEM: DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
    default: return HelperWindow::WindowProc(msg, wp, lp);
  }
}

bool CalculatorWnd::OnCommand(int id, int code, HWND) {
  const calc::Button* b = ButtonOf(id);
  if (!b || (code != BN_CLICKED && code != BN_DOUBLECLICKED)) return false;
  Press(b->key);
  // Keys go to the window, not to the button last clicked.
  SetFocus(hwnd_);
  return true;
}

BOOL CalculatorWnd::OnEraseBkgnd(HDC dc) {
  HelperWindow::OnEraseBkgnd(dc);
  RECT panel = S(kPanel);
  FillRect(dc, &panel, pageBrush_.get());
  return TRUE;
}

void CalculatorWnd::DrawButton(const DRAWITEMSTRUCT& item) const {
  const calc::Button* b = ButtonOf(static_cast<int>(item.CtlID));
  if (!b) return;
  bool digit = b->key <= calc::Key::Point || b->key == calc::Key::Negate;
  bool equals = b->key == calc::Key::Equals;
  COLORREF face = equals ? kEqualsFace : digit ? kDigitFace : colours::kPage;
  if (item.itemState & ODS_SELECTED) face = Darker(face);
  ui::Brush brush(CreateSolidBrush(face));
  FillRect(item.hDC, &item.rcItem, brush.get());
  ui::Brush edge(CreateSolidBrush(Darker(face)));
  FrameRect(item.hDC, &item.rcItem, edge.get());
  ui::SelectGuard font(item.hDC, Font(b->key == calc::Key::Backspace ? 18 : 22, FW_BOLD));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, equals ? colours::kWindow : colours::kText);
  RECT r = item.rcItem;
  std::wstring caption = base::Wide(b->caption);
  DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CalculatorWnd::Display::OnPaint() {
  ui::PaintDC dc(hwnd_);
  RECT r;
  GetClientRect(hwnd_, &r);
  ui::Brush page(CreateSolidBrush(colours::kPage));
  FillRect(dc.get(), &r, page.get());
  std::wstring text = base::Wide(Text());
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), colours::kText);
  // Long numbers and messages step down in size until they fit.
  auto* owner = static_cast<HelperWindow*>(FromHandle(GetParent(hwnd_)));
  const int dpi = owner ? owner->Dpi() : geom::kDesignDpi;
  for (int height : {36, 30, 24, 20, 16}) {
    ui::SelectGuard font(dc.get(),
                         controls::PageFont(controls::Face::YaHei, height, FW_BOLD, dpi));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    if (size.cx <= r.right - r.left || height == 16) {
      DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      break;
    }
  }
}

}  // namespace helpers
