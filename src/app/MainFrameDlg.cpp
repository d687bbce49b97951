#include "app/MainFrameDlg.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/AboutDlg.h"
#include "checkup/ComputerTestDlg.h"
#include "cleanup/MirvenComputerHelperDlg.h"
#include "controls/Colours.h"
#include "controls/Fonts.h"
#include "memory/OptDialog.h"
#include "res/Bitmaps.h"
#include "res/resource.h"
#include "tools/ShoppingDlg.h"
#include "tools/ToolkitDlg.h"
#include "tools/Tools.h"
#include "ui/Dpi.h"
#include "ui/Effects.h"
#include "ui/Gdi.h"
#include "base/Text.h"

namespace {
constexpr char kCaption[] = "Mirven电脑助手";
constexpr char kCaptionText[] = "Mirven电脑助手 3.0";

// Codes of the caption's targets; the page buttons' codes are their pages.
constexpr int kMenuCode = 11, kMinimizeCode = 12, kCloseCode = 13;

constexpr controls::FontStyle kLinkFont{controls::Face::YaHei, 20, FW_BOLD, true};
constexpr controls::Place kLayout[] = {
    {IDC_LINK_SITE, 500, 503, 107, 22, false, kLinkFont},
    {IDC_LINK_PROMOTION, 200, 503, 280, 22, false, kLinkFont},
};
}  // namespace

CMainFrameDlg& CMainFrameDlg::GetInstance() {
  // Lives until the process ends; never destroyed.
  static CMainFrameDlg* instance = new CMainFrameDlg;
  return *instance;
}

CMainFrameDlg::CMainFrameDlg()
    : controls::LayoutDialog(kTemplate),
      icon_(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

BOOL CMainFrameDlg::OnInitDialog() {
  controls::LayoutDialog::OnInitDialog();
  if (HMENU sys = GetSystemMenu(hwnd_, FALSE)) {
    wchar_t about[128] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 128) > 0) {
      AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(sys, MF_STRING, IDM_ABOUTBOX, about);
    }
  }
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  minimizeHot_ = closeHot_ = menuHot_ = false;
  SetText(kCaption);
  SetLayout(controls::Layout(header::kWidth, header::kHeight, kLayout));

  for (bool& hot : pageHot_) hot = false;
  background_.Reset(CreateSolidBrush(colours::kWindow));

  using header::CaptionButton;
  std::vector<controls::Target> targets = {
      {kMenuCode, header::CaptionDrawRect(header::kWidth, CaptionButton::Menu), 0, "菜单",
       IDB_MENU, IDB_MENU_HOVER},
      {kMinimizeCode, header::CaptionDrawRect(header::kWidth, CaptionButton::Minimize), 0,
       "最小化", IDB_MINIMIZE, IDB_MINIMIZE_HOVER},
      {kCloseCode, header::CaptionDrawRect(header::kWidth, CaptionButton::Close), 0, "关闭",
       IDB_CLOSE, IDB_CLOSE_HOVER}};
  for (int k = 1; k <= header::kPageCount; ++k) {
    const auto& b = header::kPageButtons[k - 1];
    targets.push_back({k, header::PageButtonRect(k), 1, b.name, b.normalBitmap, b.litBitmap});
  }
  targets_.Create(hwnd_, std::move(targets), [this](int code) { OnTarget(code); }, true);

  pages_[0] = std::make_unique<CMirvenComputerHelperDlg>();
  pages_[1] = std::make_unique<ToolkitDlg>();
  pages_[2] = std::make_unique<ShoppingDlg>();
  auto checkUp = std::make_unique<ComputerTestDlg>();
  checkUp->SetGoClean([this] {
    auto* cleanup = static_cast<CMirvenComputerHelperDlg*>(pages_[0].get());
    if (!cleanup->IsScanning()) cleanup->OnStartClicked();
    SelectPage(1);
  });
  pages_[3] = std::move(checkUp);
  pages_[4] = std::make_unique<OptDialog>();
  for (int k = 0; k < header::kPageCount; ++k)
    if (pages_[k]->Create(hwnd_)) ShowWindow(pages_[k]->hwnd(), k == 0 ? SW_SHOW : SW_HIDE);
  PlacePages();
  currentPage_ = 1;
  targets_.SetSelected(static_cast<std::size_t>(targets_.IndexOf(1)));
  PlaceTargets();
  online_.Start(hwnd_);
  // The keyboard starts on the page shown.
  SetFocus(targets_.Window(static_cast<std::size_t>(targets_.IndexOf(1))));
  return FALSE;
}

void CMainFrameDlg::PlaceTargets() {
  const int w = geom::Unscale(ui::WindowSize(hwnd_).cx, dpi_);
  using header::CaptionButton;
  const std::pair<int, CaptionButton> caption[] = {{kMenuCode, CaptionButton::Menu},
                                                   {kMinimizeCode, CaptionButton::Minimize},
                                                   {kCloseCode, CaptionButton::Close}};
  for (const auto& [code, button] : caption)
    targets_.Move(static_cast<std::size_t>(targets_.IndexOf(code)),
                  header::CaptionDrawRect(w, button), dpi_);
  for (int k = 1; k <= header::kPageCount; ++k)
    targets_.Move(static_cast<std::size_t>(targets_.IndexOf(k)), header::PageButtonRect(k), dpi_);
}

void CMainFrameDlg::OnTarget(int code) {
  switch (code) {
    case kMenuCode: OpenCaptionMenu(false); break;
    case kMinimizeCode: ShowWindow(hwnd_, SW_MINIMIZE); break;
    case kCloseCode: ConfirmClose(); break;
    default: SelectPage(code); break;
  }
}

bool CMainFrameDlg::PreTranslateKey(const MSG& msg) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
  const UINT key = static_cast<UINT>(msg.wParam);
  if (msg.message == WM_SYSKEYDOWN || msg.message == WM_KEYDOWN) {
    const bool alone = msg.message == WM_SYSKEYDOWN && key == VK_MENU;
    if (!alone) altAlone_ = false;
    else if (!(msg.lParam & (1 << 30))) altAlone_ = true;  // not a repeat
  }
  if (msg.message == WM_SYSKEYUP && key == VK_MENU) {
    bool open = altAlone_;
    altAlone_ = false;
    if (open) {
      OpenCaptionMenu(false);
      return true;
    }
    return false;
  }
  if (msg.message == WM_SYSKEYDOWN && key == VK_F10 && !shift) {
    OpenCaptionMenu(false);
    return true;
  }
  if (msg.message != WM_KEYDOWN || !ctrl) return false;
  int page = 0;
  if (key == VK_TAB || key == VK_NEXT || key == VK_PRIOR) {
    const bool back = key == VK_PRIOR || (key == VK_TAB && shift);
    page = (currentPage_ - 1 + (back ? header::kPageCount - 1 : 1)) % header::kPageCount + 1;
  } else if (key >= '1' && key < '1' + header::kPageCount) {
    page = static_cast<int>(key - '0');
  } else {
    return false;
  }
  SelectPage(page);
  // The keyboard goes on in the page now shown: its first control, or its button.
  HWND pageWindow = pages_[page - 1] ? pages_[page - 1]->hwnd() : nullptr;
  HWND first = pageWindow ? GetNextDlgTabItem(pageWindow, nullptr, FALSE) : nullptr;
  if (!first || !IsChild(pageWindow, first))
    first = targets_.Window(static_cast<std::size_t>(targets_.IndexOf(page)));
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
  return true;
}

void CMainFrameDlg::PlacePages() {
  for (auto& page : pages_)
    if (page && page->hwnd())
      SetWindowPos(page->hwnd(), nullptr, 0, S(header::kHeaderHeight), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrameDlg::OnDpiApplied() {
  for (auto& page : pages_)
    if (page && page->hwnd()) page->ApplyDpi(dpi_);
  PlacePages();
  PlaceTargets();
  DrawHeader();
}

void CMainFrameDlg::Draw(HDC dc, const geom::Rect& design, int bitmap) const {
  geom::Rect r = S(design);
  ui::DrawBitmapTo(dc, r.left, r.top, r.Width(), r.Height(), bitmap, dpi_);
}

void CMainFrameDlg::OnPaint() {
  if (IsIconic(hwnd_)) {
    ui::PaintDC dc(hwnd_);
    RECT r;
    GetClientRect(hwnd_, &r);
    int cx = ui::MetricForDpi(SM_CXICON, dpi_), cy = ui::MetricForDpi(SM_CYICON, dpi_);
    DrawIcon(dc.get(), (r.right - r.left - cx + 1) / 2, (r.bottom - r.top - cy + 1) / 2, icon_);
    return;
  }
  {
    ui::PaintDC dc(hwnd_);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc.get(), &r, background_.get());
  }
  DrawHeader();
}

BOOL CMainFrameDlg::OnEraseBkgnd(HDC) { return TRUE; }

void CMainFrameDlg::OnNcPaint() { DrawHeader(); }

BOOL CMainFrameDlg::OnNcActivate(BOOL) {
  DrawHeader();
  return TRUE;
}

void CMainFrameDlg::OnSize(UINT type, int cx, int cy) {
  controls::LayoutDialog::OnSize(type, cx, cy);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT CMainFrameDlg::OnNcHitTest(POINT screen) {
  POINT client = screen;
  ScreenToClient(hwnd_, &client);
  if (header::InHeader(geom::Unscale(ui::WindowSize(hwnd_).cx, dpi_),
                       geom::Unscale(geom::Point{client.x, client.y}, dpi_)))
    return HTCAPTION;
  return Default();
}

geom::Point CMainFrameDlg::ToWindow(POINT screen) const {
  RECT wr = ui::WindowRect(hwnd_);
  return geom::Unscale(geom::Point{screen.x - wr.left, screen.y - wr.top}, dpi_);
}

void CMainFrameDlg::DrawHeader() {
  // Worked in design pixels: the width is the window's, unscaled.
  SIZE size = ui::WindowSize(hwnd_);
  width_ = geom::Unscale(size.cx, dpi_);
  height_ = geom::Unscale(size.cy, dpi_);
  const int w = width_;
  ui::WindowDC dc(hwnd_);
  Draw(dc.get(), geom::Rect::At(0, 0, 100, header::kCaptionHeight), IDB_CAPTION_LEFT);
  Draw(dc.get(), geom::Rect::At(w - 100, 0, 100, header::kCaptionHeight), IDB_CAPTION_RIGHT);
  Draw(dc.get(), geom::Rect::At(100, 0, w - 200, header::kCaptionHeight), IDB_CAPTION_MIDDLE);
  DrawCaptionButtons(header::CaptionButton::None);
  Draw(dc.get(),
       geom::Rect::At(0, header::kCaptionHeight, header::kWidth, header::kPageButtonSide),
       IDB_STRIP);
  DrawPageButtons(currentPage_);
  DrawCaptionText();
  online_.UpdatePromotion();
}

void CMainFrameDlg::DrawCaptionButtons(header::CaptionButton lit) {
  targets_.SetLit(static_cast<std::size_t>(targets_.IndexOf(kMenuCode)),
                  lit == header::CaptionButton::Menu);
  targets_.SetLit(static_cast<std::size_t>(targets_.IndexOf(kMinimizeCode)),
                  lit == header::CaptionButton::Minimize);
  targets_.SetLit(static_cast<std::size_t>(targets_.IndexOf(kCloseCode)),
                  lit == header::CaptionButton::Close);
}

void CMainFrameDlg::DrawPageButtons(int page) {
  if (page >= 1 && page <= header::kPageCount)
    for (int k = 1; k <= header::kPageCount; ++k)
      targets_.SetLit(static_cast<std::size_t>(targets_.IndexOf(k)), k == page);
  ui::WindowDC dc(hwnd_);
  Draw(dc.get(), geom::Rect::At(width_ - 100, header::kCaptionHeight, 100, header::kPageButtonSide),
       IDB_STRIP_END);
}

void CMainFrameDlg::DrawCaptionText() {
  ui::WindowDC dc(hwnd_);
  ui::DrawTextAt(dc.get(), S(70), S(6), kCaptionText,
                 controls::PageFont(controls::kTitleFont, dpi_), TA_CENTER,
                 colours::kText);
}

void CMainFrameDlg::SelectPage(int page) {
  if (page < 1 || page > header::kPageCount) return;
  currentPage_ = page;
  targets_.SetSelected(static_cast<std::size_t>(targets_.IndexOf(page)));
  DrawPageButtons(page);
  for (int k = 1; k <= header::kPageCount; ++k)
    if (pages_[k - 1] && pages_[k - 1]->hwnd())
      ShowWindow(pages_[k - 1]->hwnd(), k == page ? SW_SHOW : SW_HIDE);
}

int CMainFrameDlg::HotPageButton() const {
  for (int k = 0; k < header::kPageCount; ++k)
    if (pageHot_[k]) return k + 1;
  return 0;
}

void CMainFrameDlg::OnNcMouseMove(UINT, POINT screen) {
  geom::Point p = ToWindow(screen);
  width_ = geom::Unscale(ui::WindowSize(hwnd_).cx, dpi_);
  header::CaptionButton over = header::CaptionButtonAt(width_, p);
  closeHot_ = over == header::CaptionButton::Close;
  minimizeHot_ = over == header::CaptionButton::Minimize;
  menuHot_ = over == header::CaptionButton::Menu;
  DrawCaptionButtons(over);

  int k = header::PageButtonAt(p);
  for (int i = 0; i < header::kPageCount; ++i) pageHot_[i] = (i + 1 == k);
  if (k != 0) {
    for (int i = 1; i <= header::kPageCount; ++i)
      targets_.SetLit(static_cast<std::size_t>(targets_.IndexOf(i)), i == k);
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
  }
  // Ask for WM_NCMOUSELEAVE rather than rely on the default processing.
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_NONCLIENT, hwnd_, 0};
  TrackMouseEvent(&tme);
  Default();
}

void CMainFrameDlg::OnNcMouseLeave() {
  for (int code : {kMenuCode, kMinimizeCode, kCloseCode})
    targets_.SetPressed(static_cast<std::size_t>(targets_.IndexOf(code)), false);
  DrawCaptionButtons(header::CaptionButton::None);
  for (bool& hot : pageHot_) hot = false;
  DrawPageButtons(currentPage_);
  Default();
}

void CMainFrameDlg::OnNcLButtonDown(UINT, POINT) {
  if (int k = HotPageButton()) {
    SelectPage(k);
    return;  // no drag from a page button
  }
  const int hot = closeHot_ ? kCloseCode : minimizeHot_ ? kMinimizeCode : menuHot_ ? kMenuCode : 0;
  if (hot) targets_.SetPressed(static_cast<std::size_t>(targets_.IndexOf(hot)), true);
  Default();
}

void CMainFrameDlg::OnNcLButtonUp(UINT, POINT) {
  for (int code : {kMenuCode, kMinimizeCode, kCloseCode})
    targets_.SetPressed(static_cast<std::size_t>(targets_.IndexOf(code)), false);
  if (closeHot_) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (minimizeHot_) {
    ShowWindow(hwnd_, SW_MINIMIZE);
    minimizeHot_ = false;
  }
  if (menuHot_) {
    menuHot_ = false;
    OpenCaptionMenu(true);
  }
  Default();
}

void CMainFrameDlg::OpenCaptionMenu(bool atCursor) {
  ui::Menu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CAPTION_MENU)));
  POINT cursor{0, 0};
  if (atCursor) {
    GetCursorPos(&cursor);
    ScreenToClient(hwnd_, &cursor);
  }
  POINT at{S(width_ - 83), std::max<LONG>(cursor.y, S(header::kCaptionHeight))};
  ClientToScreen(hwnd_, &at);
  if (menu)
    TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_RIGHTBUTTON | TPM_VERTICAL, at.x, at.y, 0,
                   hwnd_, nullptr);
}

void CMainFrameDlg::OnNcRButtonUp(UINT, POINT screen) {
  ui::Menu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_HEADER_MENU)));
  if (menu) TrackPopupMenu(GetSubMenu(menu.get(), 0), 0, screen.x, screen.y, 0, hwnd_, nullptr);
  Default();
}

void CMainFrameDlg::OnSysCommand(UINT id, LPARAM lp) {
  if (id == IDM_ABOUTBOX) {
    ShowAbout();
    return;
  }
  Default();
  // The move loop swallows the button-up of a click on a caption picture;
  // hand it back so the click still acts.
  if ((id & 0xFFF0) == SC_MOVE) PostMessageW(hwnd_, WM_NCLBUTTONUP, HTCAPTION, lp);
}

bool CMainFrameDlg::OnCommand(int id, int, HWND) {
  switch (id) {
    case ID_HEADER_MINIMIZE:
      ShowWindow(hwnd_, SW_MINIMIZE);
      minimizeHot_ = false;
      return true;
    case ID_HEADER_CLOSE: ConfirmClose(); return true;
    case ID_MENU_TIMED_SHUTDOWN: tools::OpenShutdown(); return true;
    case ID_MENU_RESTART: tools::RequestPower(hwnd_, ui::PowerAction::Restart); return true;
    case ID_MENU_POWER_OFF: tools::RequestPower(hwnd_, ui::PowerAction::PowerOff); return true;
    case ID_MENU_ABOUT:
    case ID_HEADER_ABOUT: ShowAbout(); return true;
    case ID_MENU_NEW_FEATURES: online_.OpenNotes(); return true;
    case ID_MENU_CHECK_UPDATE: CheckUpdate(false); return true;
    default: return false;
  }
}

HBRUSH CMainFrameDlg::OnCtlColor(HDC dc, HWND, UINT kind) {
  if (kind != CTLCOLOR_STATIC) return nullptr;
  SetTextColor(dc, colours::kText);
  SetBkColor(dc, colours::kWindow);
  return background_.get();
}

void CMainFrameDlg::OnClose() { ConfirmClose(); }

HCURSOR CMainFrameDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(icon_); }

void CMainFrameDlg::OnTimer(UINT_PTR id) {
  Default();
  online_.OnTimer(id);
}

void CMainFrameDlg::OnMouseMove(UINT, POINT client) {
  online_.SetLinkCursor(client);
  Default();
}

LRESULT CMainFrameDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  // Keeps the hand over a link label rather than the arrow between moves.
  if (msg == WM_SETCURSOR && reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd_, &p);
    if (online_.SetLinkCursor(p)) return TRUE;
  }
  return ui::Dialog::WindowProc(msg, wp, lp);
}

void CMainFrameDlg::OnLButtonUp(UINT, POINT client) {
  online_.OnLButtonUp(client);
  Default();
}

void CMainFrameDlg::ConfirmClose() {
  if (ui::effects().ShowMessage(hwnd_, "您确定要关闭程序吗？", kCaption,
                                MB_YESNO | MB_ICONQUESTION) == IDYES)
    ui::effects().ExitProcess(0);
}

void CMainFrameDlg::ShowAbout() {
  CAboutDlg about;
  about.DoModal(hwnd_);
}
