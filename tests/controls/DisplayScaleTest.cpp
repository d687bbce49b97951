// Every page and tool window at the display scale the Wine prefix was set
// to (MIRVEN_DPI; CTest runs this suite at 96, 120, 144 and 192 DPI): each
// control lies inside its parent, visible controls do not overlap, and
// every text fits its control. Then a change of DPI, as on a move to
// another monitor.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/CheckUpdateDlg.h"
#include "calculator/CalculatorWnd.h"
#include "clock/ClockWnd.h"
#include "app/MainFrameDlg.h"
#include "app/NewVersionDlg.h"
#include "controls/MirvenDialog.h"
#include "controls/Page.h"
#include "net/EmailDlg.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "tools/AlarmDlg.h"
#include "tools/DefragmentDlg.h"
#include "tools/PowOffDlg.h"
#include "tools/TaxDlg.h"
#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "base/Text.h"

namespace {

int ExpectedDpi() {
  const char* v = std::getenv("MIRVEN_DPI");
  return v && *v ? std::atoi(v) : 96;
}

std::string ClassOf(HWND h) {
  wchar_t c[64] = {};
  GetClassNameW(h, c, 64);
  return base::Utf8(c);
}

std::string Name(HWND h) {
  return ClassOf(h) + " " + std::to_string(GetDlgCtrlID(h)) + " \"" + wintest::TextOf(h) + "\"";
}

RECT ClientRectIn(HWND child, HWND parent) {
  RECT r = ui::WindowRect(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

SIZE Extent(HDC dc, HFONT font, const std::wstring& text) {
  ui::SelectGuard sel(dc, font);
  SIZE s{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> v;
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
  return v;
}

// The checks, for `window` and every child window below it.
void CheckWindow(HWND window) {
  SCOPED_TRACE(Name(window));
  RECT client;
  GetClientRect(window, &client);
  std::vector<HWND> shown;
  ui::ClientDC dc(window);
  for (HWND child : Children(window)) {
    if (!IsWindowVisible(child)) continue;
    std::string cls = ClassOf(child);
    if (cls == "ComboLBox" || cls == "tooltips_class32") continue;
    shown.push_back(child);
    RECT r = ClientRectIn(child, window);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << Name(child) << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom
        << " outside " << client.right << "x" << client.bottom;

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    std::wstring text = base::Wide(wintest::TextOf(child));
    LONG style = GetWindowLongW(child, GWL_STYLE);
    RECT inner;
    GetClientRect(child, &inner);
    if (font && !text.empty() && cls == "Static" &&
        (style & SS_TYPEMASK) <= SS_RIGHT && !(style & SS_ELLIPSISMASK)) {
      // Wrapping statics may use their height; none may need more.
      ui::SelectGuard sel(dc.get(), font);
      RECT need{0, 0, inner.right, 0};
      DrawTextW(dc.get(), text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      EXPECT_LE(need.bottom, inner.bottom) << Name(child) << " is cut";
      EXPECT_LE(need.right, inner.right) << Name(child) << " is cut";
    }
    if (font && !text.empty() && cls == "Button" && (style & BS_TYPEMASK) != BS_OWNERDRAW) {
      EXPECT_LE(Extent(dc.get(), font, text).cx, inner.right - 4) << Name(child) << " is cut";
    }
    if (font && !text.empty() && cls == "Edit" && !(style & ES_MULTILINE)) {
      EXPECT_LE(Extent(dc.get(), font, text).cx, inner.right) << Name(child) << " is cut";
    }
    if (cls == "SysTabControl32") {
      for (HWND part : Children(child))
        EXPECT_FALSE(IsWindowVisible(part)) << "tab control shows its scroll arrows";
      int n = TabCtrl_GetItemCount(child);
      for (int k = 0; k < n; ++k) {
        wchar_t buf[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buf;
        item.cchTextMax = 64;
        TabCtrl_GetItem(child, k, &item);
        RECT ir{};
        TabCtrl_GetItemRect(child, k, &ir);
        EXPECT_LE(Extent(dc.get(), font, buf).cx, ir.right - ir.left) << "tab " << k << " is cut";
      }
    }
    if (cls == "SysListView32") {
      HWND header = ListView_GetHeader(child);
      int columns = Header_GetItemCount(header), rows = ListView_GetItemCount(child);
      for (int c = 0; c < columns; ++c)
        for (int row = 0; row < rows; ++row) {
          wchar_t buf[128] = {};
          ListView_GetItemText(child, row, c, buf, 128);
          // The list's own measure, plus the margins it draws cells with.
          int need = ListView_GetStringWidth(child, buf) + 12;
          EXPECT_LE(need, ListView_GetColumnWidth(child, c))
              << "row " << row << " column " << c << " is cut";
        }
    }
    if (cls == "#32770") CheckWindow(child);  // a page
  }
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t j = i + 1; j < shown.size(); ++j) {
      RECT a = ClientRectIn(shown[i], window), b = ClientRectIn(shown[j], window), x;
      EXPECT_FALSE(IntersectRect(&x, &a, &b))
          << Name(shown[i]) << " overlaps " << Name(shown[j]);
    }
}

class DisplayScale : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    CMainFrameDlg& dlg = CMainFrameDlg::GetInstance();
    if (!dlg.hwnd()) {
      ASSERT_TRUE(dlg.Create(nullptr));
      ShowWindow(dlg.hwnd(), SW_SHOW);
      wintest::Pump();
    }
  }
  static HWND main() { return CMainFrameDlg::GetInstance().hwnd(); }
  wintest::ScopedEffects effects_;
};

template <typename T, typename... Args>
void CheckToolWindow(const char* title, Args&&... args) {
  SCOPED_TRACE(title);
  T* dlg = controls::MirvenDialog::Open<T>(title, std::forward<Args>(args)...);
  ASSERT_NE(dlg, nullptr);
  wintest::Pump();
  CheckWindow(dlg->hwnd());
  DestroyWindow(dlg->hwnd());
  wintest::Pump();
}

}  // namespace

TEST_F(DisplayScale, EveryPageAndToolWindowIsWholeAtThePrefixDpi) {
  const int dpi = ExpectedDpi();
  ASSERT_EQ(ui::SystemDpi(), dpi) << "the Wine prefix's LogPixels";
  ASSERT_EQ(ui::DpiOf(main()), dpi);
  RECT client;
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, geom::Scale(781, dpi));
  EXPECT_EQ(client.bottom, geom::Scale(525, dpi));
  std::printf("main window at %d DPI: %ld x %ld\n", dpi, client.right, client.bottom);
  for (int page = 1; page <= 5; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    CMainFrameDlg::GetInstance().SelectPage(page);
    wintest::Pump();
    RECT pr = ClientRectIn(CMainFrameDlg::GetInstance().PageWindow(page)->hwnd(), main());
    EXPECT_EQ(pr.top, geom::Scale(100, dpi));
    EXPECT_EQ(pr.right - pr.left, geom::Scale(781, dpi));
    EXPECT_EQ(pr.bottom - pr.top, geom::Scale(400, dpi));
    CheckWindow(main());
  }
  // The cleanup page's other tab.
  CMainFrameDlg::GetInstance().SelectPage(1);
  HWND cleanup = CMainFrameDlg::GetInstance().PageWindow(1)->hwnd();
  HWND tab = GetDlgItem(cleanup, IDC_CLEANUP_TAB);
  TabCtrl_SetCurSel(tab, 1);
  NMHDR change{tab, IDC_CLEANUP_TAB, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(cleanup, WM_NOTIFY, IDC_CLEANUP_TAB, reinterpret_cast<LPARAM>(&change));
  CheckWindow(cleanup);

  CheckToolWindow<PowOffDlg>("定时关机");
  CheckToolWindow<TaxDlg>("个税计算器");
  CheckToolWindow<AlarmDlg>("Mirven闹钟");
  CheckToolWindow<DefragmentDlg>("磁盘碎片整理");
  CheckToolWindow<EmailDlg>("邮件发送器");
  CheckToolWindow<CheckUpdateDlg>("软件更新", std::string("3.1"));
  CheckToolWindow<NewVersionDlg>("新版特性");
  CheckToolWindow<controls::MirvenDialog>("对话框");

  // The carried calculator and clock, in-process.
  helpers::CalculatorWnd calculator;
  ASSERT_TRUE(calculator.Create());
  GetClientRect(calculator.hwnd(), &client);
  EXPECT_EQ(client.right, geom::Scale(298, dpi));
  ShowWindow(calculator.hwnd(), SW_SHOWNA);
  CheckWindow(calculator.hwnd());
  DestroyWindow(calculator.hwnd());
  helpers::ClockWnd clock;
  ASSERT_TRUE(clock.Create());
  ShowWindow(clock.hwnd(), SW_SHOWNA);
  CheckWindow(clock.hwnd());
  DestroyWindow(clock.hwnd());
}

TEST_F(DisplayScale, AMoveToAnotherMonitorLaysEverythingOutAgain) {
  const int from = ExpectedDpi(), to = from == 192 ? 120 : 192;
  RECT before = ui::WindowRect(main());
  RECT suggested{before.left + 10, before.top + 10, before.left + 10 + geom::Scale(781, to),
                 before.top + 10 + geom::Scale(525, to)};
  SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  wintest::Pump();
  RECT client;
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, geom::Scale(781, to));
  EXPECT_EQ(client.bottom, geom::Scale(525, to));
  EXPECT_EQ(ui::WindowRect(main()).left, suggested.left);
  HWND cleanup = CMainFrameDlg::GetInstance().PageWindow(1)->hwnd();
  RECT page = ClientRectIn(cleanup, main());
  EXPECT_EQ(page.top, geom::Scale(100, to));
  EXPECT_EQ(page.right - page.left, geom::Scale(781, to));
  // A control at its scaled design place, with a font of the new size.
  RECT list = ClientRectIn(GetDlgItem(cleanup, IDC_CLEANUP_TREE), cleanup);
  EXPECT_EQ(list.left, geom::Scale(520, to));
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(cleanup, IDC_CLEANUP_TREE, WM_GETFONT, 0, 0)),
             sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, geom::Scale(12, to));

  // A tool window follows on its own.
  TaxDlg* tax = controls::MirvenDialog::Open<TaxDlg>("个税计算器");
  ASSERT_NE(tax, nullptr);
  RECT t = ui::WindowRect(tax->hwnd());
  SendMessageW(tax->hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&t));
  wintest::Pump();
  GetClientRect(tax->hwnd(), &client);
  EXPECT_EQ(client.right, geom::Scale(770, to));
  EXPECT_EQ(ListView_GetColumnWidth(GetDlgItem(tax->hwnd(), IDC_TAX_TABLE), 1),
            geom::Scale(200, to));
  DestroyWindow(tax->hwnd());

  // A DPI no monitor has is taken as the largest scale Windows offers.
  SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(65535, 65535), reinterpret_cast<LPARAM>(&before));
  wintest::Pump();
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, geom::Scale(781, geom::kMaxDpi));

  // And back.
  SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(from, from), reinterpret_cast<LPARAM>(&before));
  wintest::Pump();
  GetClientRect(main(), &client);
  EXPECT_EQ(client.right, geom::Scale(781, from));
}
