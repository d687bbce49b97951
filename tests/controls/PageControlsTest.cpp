// The page controls on a plain dialog (template 109), created at run time
// and driven with real messages; pixels are read back through
// WM_PRINTCLIENT into a memory bitmap.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "controls/Colours.h"
#include "controls/HSListBox.h"
#include "controls/MyDrawButton.h"
#include "controls/MyProgressCtrl.h"
#include "support/WinTest.h"
#include "ui/Dialog.h"
#include "ui/Gdi.h"
#include "base/Text.h"

namespace {

constexpr int kControlId = 1001;

// A visible plain dialog that hosts one control at a time.
class Host {
 public:
  Host() : dlg_(109) {
    dlg_.Create(nullptr);
    SetWindowPos(dlg_.hwnd(), nullptr, 100, 100, 600, 400, SWP_NOZORDER);
    ShowWindow(dlg_.hwnd(), SW_SHOW);
    wintest::Pump();
  }
  ~Host() { DestroyWindow(dlg_.hwnd()); }
  HWND hwnd() const { return dlg_.hwnd(); }
  HWND Add(const wchar_t* cls, DWORD style, int x, int y, int w, int h, const wchar_t* text = L"") {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dlg_.hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                           GetModuleHandleW(nullptr), nullptr);
  }

 private:
  ui::Dialog dlg_;
};

// A 32-bit memory bitmap of w x h, filled with `fill`, that a window
// prints its client area into.
class Capture {
 public:
  Capture(int w, int h, COLORREF fill) : w_(w), h_(h) {
    ui::ClientDC screen(nullptr);
    dc_ = CreateCompatibleDC(screen.get());
    bmp_ = CreateCompatibleBitmap(screen.get(), w, h);
    old_ = SelectObject(dc_, bmp_);
    Fill(fill);
  }
  ~Capture() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  void Fill(COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    RECT r{0, 0, w_, h_};
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  void Print(HWND hwnd) {
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC dc() const { return dc_; }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

COLORREF BitmapPixel(int id, int x, int y) {
  ui::Bitmap bmp(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
  ui::ClientDC screen(nullptr);
  ui::MemoryDC mem(screen.get());
  ui::SelectGuard sel(mem.get(), bmp.get());
  return GetPixel(mem.get(), x, y);
}

// ---------------------------------------------------------------- picture button

class PictureButton : public testing::Test {
 protected:
  void SetUp() override {
    h_ = host_.Add(L"BUTTON", BS_PUSHBUTTON, 20, 20, 210, 95, L"立即扫描");
    ASSERT_TRUE(button_.SubclassDlgItem(kControlId, host_.hwnd()));
    button_.SetBitmaps(212, 217);
  }
  // The face and caption as a paint would put them over `background`.
  void Paint(Capture& c) { c.Print(h_); }

  Host host_;
  MyDrawButton button_;
  HWND h_ = nullptr;
};

TEST_F(PictureButton, BecomesOwnerDrawnAndPaintsItsFaceWithThePageColourTransparent) {
  EXPECT_EQ(GetWindowLongPtrW(h_, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  button_.SetCaption("");
  const COLORREF red = RGB(255, 0, 0);
  Capture c(210, 95, red);
  Paint(c);
  // The rounded corner is the page colour in the bitmap: the background
  // shows through. Inside the shape the face's own pixels are drawn.
  ASSERT_EQ(BitmapPixel(212, 0, 0), colours::kPage);
  EXPECT_EQ(c.At(0, 0), red);
  EXPECT_EQ(c.At(209, 94), red);
  EXPECT_EQ(c.At(5, 47), BitmapPixel(212, 5, 47));
  EXPECT_EQ(c.At(105, 80), BitmapPixel(212, 105, 80));
}

TEST_F(PictureButton, SmallerFaceLeavesTheRestAndLargerFaceIsClipped) {
  button_.SetCaption("");
  button_.SetBitmaps(211, 216);  // 88 x 25 on a 210 x 95 button
  const COLORREF red = RGB(255, 0, 0);
  Capture c(210, 95, red);
  Paint(c);
  EXPECT_EQ(c.At(40, 12), BitmapPixel(211, 40, 12));
  EXPECT_EQ(c.At(100, 12), red);
  EXPECT_EQ(c.At(40, 40), red);

  // A face larger than the button stops at the button's edges.
  SetWindowPos(h_, nullptr, 0, 0, 50, 20, SWP_NOMOVE | SWP_NOZORDER);
  button_.SetBitmaps(212, 217);
  Capture small(210, 95, red);
  Paint(small);
  EXPECT_EQ(small.At(5, 10), BitmapPixel(212, 5, 10));
  EXPECT_EQ(small.At(60, 10), red);
  EXPECT_EQ(small.At(20, 30), red);
}

// Leftmost and rightmost columns holding white caption ink, or -1.
std::pair<int, int> InkColumns(const Capture& c, int w, int h) {
  int left = -1, right = -1;
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y)
      if (c.At(x, y) == RGB(255, 255, 255)) {
        if (left < 0) left = x;
        right = x;
        break;
      }
  return {left, right};
}

TEST_F(PictureButton, CaptionsAreSizedByKindAndPercentSitsLeftOfCentre) {
  const COLORREF black = RGB(0, 0, 0);
  {
    Capture c(210, 95, black);
    Paint(c);
    EXPECT_EQ(button_.CaptionHeight(), 28);
    auto [left, right] = InkColumns(c, 210, 95);
    ASSERT_GE(left, 0);
    // Measured in its own font, the caption is centred.
    EXPECT_NEAR((left + right) / 2.0, 105.0, 6.0);
  }
  button_.SetCaption("开始");
  {
    Capture c(210, 95, black);
    Paint(c);
    EXPECT_EQ(button_.CaptionHeight(), 20);
  }
  button_.SetBitmaps(0, 0);  // no face: only the caption's ink is white
  SetWindowPos(h_, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);
  button_.SetCaption("45%");
  Capture c(150, 150, black);
  Paint(c);
  EXPECT_EQ(button_.CaptionHeight(), 40);
  ui::Font font = ui::MakeFont("微软雅黑", 40, FW_BOLD);
  SIZE size{};
  {
    ui::SelectGuard sel(c.dc(), font.get());
    GetTextExtentPoint32W(c.dc(), L"45%", 3, &size);
  }
  auto [left, right] = InkColumns(c, 150, 150);
  ASSERT_GE(left, 0);
  EXPECT_NEAR(left, (150 - size.cx) * 3 / 7, 4);
  EXPECT_LT((left + right) / 2, 75);
}

TEST_F(PictureButton, HoverSwitchesTheFaceUntilThePointerIsGone) {
  // Dragging onto the button with the left button held is not hovering.
  SendMessageW(h_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_FALSE(button_.IsHovering());
  EXPECT_EQ(button_.FaceBitmap(), 212u);

  SetCursorPos(1200, 1000);  // far from the button
  SendMessageW(h_, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(button_.IsHovering());
  EXPECT_EQ(button_.FaceBitmap(), 217u);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !button_.IsHovering(); }, 3000));
  EXPECT_EQ(button_.FaceBitmap(), 212u);
  EXPECT_FALSE(KillTimer(h_, MyDrawButton::kHoverTimer));  // the timer stopped
}

TEST_F(PictureButton, MouseLeaveRestoresTheNormalFaceAndStopsTheTimer) {
  RECT r = ui::WindowRect(h_);
  SetCursorPos(r.left + 5, r.top + 5);
  SendMessageW(h_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(button_.IsHovering());
  SendMessageW(h_, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(button_.IsHovering());
  EXPECT_EQ(button_.FaceBitmap(), 212u);
  EXPECT_FALSE(KillTimer(h_, MyDrawButton::kHoverTimer));
  SetCursorPos(1200, 1000);
}

TEST_F(PictureButton, RepaintingAndHoveringLeakNoGdiObjects) {
  RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  DWORD before = wintest::GdiObjects();
  for (int i = 0; i < 200; ++i) {
    button_.SetCaption(i % 2 ? "立即扫描" : "45%");
    RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageW(h_, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(h_, WM_MOUSELEAVE, 0, 0);
  }
  EXPECT_LE(wintest::GdiObjects(), before + 2);
}

// ---------------------------------------------------------------- progress bar

class FlatProgress : public testing::Test {
 protected:
  void SetUp() override {
    h_ = host_.Add(PROGRESS_CLASSW, 0, 10, 10, 201, 20);
    ASSERT_TRUE(bar_.SubclassDlgItem(kControlId, host_.hwnd()));
    bar_.SetRange32(0, 100);
  }
  // Which columns of row y are bar, as a string of 'B' and '.'.
  std::string Row(int pos, int y) {
    bar_.SetPos(pos);
    Capture c(201, 20, RGB(255, 0, 0));
    c.Print(h_);
    std::string row;
    for (int x = 0; x < 201; ++x) {
      COLORREF p = c.At(x, y);
      EXPECT_TRUE(p == MyProgressCtrl::kBarColour || p == MyProgressCtrl::kTroughColour) << x;
      row += p == MyProgressCtrl::kBarColour ? 'B' : '.';
    }
    return row;
  }

  Host host_;
  MyProgressCtrl bar_;
  HWND h_ = nullptr;
};

TEST_F(FlatProgress, BarFillsItsShareInsideAOnePixelTrough) {
  EXPECT_EQ(Row(50, 10), "." + std::string(98, 'B') + std::string(102, '.'));
  EXPECT_EQ(Row(50, 0), std::string(201, '.'));
  EXPECT_EQ(Row(50, 19), std::string(201, '.'));
  EXPECT_EQ(Row(50, 18)[1], 'B');
  EXPECT_EQ(Row(100, 10), "." + std::string(199, 'B') + ".");
  EXPECT_EQ(Row(0, 10), std::string(201, '.'));
  EXPECT_EQ(bar_.GetPos(), 0);
}

TEST_F(FlatProgress, EmptyRangeDrawsOnlyTheTrough) {
  SendMessageW(h_, PBM_SETRANGE32, 0, 0);
  EXPECT_EQ(Row(0, 10), std::string(201, '.'));
}

TEST_F(FlatProgress, PositionsSentFromAWorkerShowOnTheNextPaint) {
  std::thread worker([this] {
    for (int mb = 0; mb <= 75; ++mb) SendMessageW(h_, PBM_SETPOS, static_cast<WPARAM>(mb), 0);
  });
  ASSERT_TRUE(wintest::PumpUntil([&] { return bar_.GetPos() == 75; }));
  worker.join();
  RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(h_);
  COLORREF inBar = GetPixel(dc, 100, 10), past = GetPixel(dc, 160, 10);
  ReleaseDC(h_, dc);
  EXPECT_EQ(inBar, MyProgressCtrl::kBarColour);
  EXPECT_EQ(past, MyProgressCtrl::kTroughColour);
}

TEST_F(FlatProgress, RepaintingLeaksNoGdiObjects) {
  RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  DWORD before = wintest::GdiObjects();
  for (int i = 0; i < 300; ++i) {
    bar_.SetPos(i % 101);
    RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  EXPECT_LE(wintest::GdiObjects(), before + 2);
}

// ---------------------------------------------------------------- list box

class HSListBox : public testing::Test {
 protected:
  void SetUp() override {
    h_ = host_.Add(L"LISTBOX", WS_HSCROLL | WS_VSCROLL | WS_BORDER | LBS_NOTIFY, 10, 10, 200, 150);
    font_ = ui::MakeFont("Tahoma", 24, FW_NORMAL);
    SendMessageW(h_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ASSERT_TRUE(list_.SubclassDlgItem(kControlId, host_.hwnd()));
  }
  int Width(const std::string& text, HFONT font) {
    ui::ClientDC dc(h_);
    std::wstring w = base::Wide(text);
    HGDIOBJ old = font ? SelectObject(dc.get(), font) : nullptr;
    SIZE s{};
    GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &s);
    if (old) SelectObject(dc.get(), old);
    return s.cx;
  }

  Host host_;
  ui::Font font_;
  CHSListBox list_;
  HWND h_ = nullptr;
};

TEST_F(HSListBox, ExtentIsTheWidestLineInTheListBoxFontPlusFive) {
  EXPECT_EQ(list_.HorizontalExtent(), 0);
  const std::string shortLine = "C:\\a.tmp";
  const std::string longLine = "C:\\Users\\someone\\AppData\\Local\\Temp\\~wrd0001.tmp";
  list_.AddString(shortLine);
  EXPECT_EQ(list_.HorizontalExtent(), Width(shortLine, font_.get()) + 5);
  list_.AddString(longLine);
  list_.AddString(shortLine);
  list_.UpdateHorizontalExtent();
  int want = Width(longLine, font_.get()) + 5;
  EXPECT_EQ(list_.HorizontalExtent(), want);
  // Not the DC's default font: that would scroll too little or too far.
  ASSERT_NE(Width(longLine, nullptr) + 5, want);
  EXPECT_EQ(list_.GetText(1), longLine);

  // Losing the widest line measures the rest again; losing another does not
  // change the extent; an emptied list has none.
  list_.DeleteString(1);
  EXPECT_EQ(list_.HorizontalExtent(), Width(shortLine, font_.get()) + 5);
  list_.AddString(longLine);
  list_.DeleteString(0);
  EXPECT_EQ(list_.HorizontalExtent(), want);
  list_.ResetContent();
  EXPECT_EQ(list_.HorizontalExtent(), 0);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  if (GetScrollInfo(h_, SB_HORZ, &si)) {
    EXPECT_LE(si.nMax - si.nMin + 1, static_cast<int>(si.nPage));
  }
}

// Lines put in at once land at their indices with their data, and the
// extent follows the widest of them.
TEST_F(HSListBox, LinesInOneGoLandInPlaceWithTheirDataAndExtent) {
  list_.AddString("b");
  list_.AddString("d");
  const std::string wide = "C:\\Users\\someone\\AppData\\Local\\Temp\\~wrd0001.tmp";
  EXPECT_EQ(list_.InsertLines({{0, L"a", 10}, {2, base::Wide(wide), 11}, {4, L"e", 12}}), 3);
  std::vector<std::string> texts;
  for (int k = 0; k < list_.GetCount(); ++k) texts.push_back(list_.GetText(k));
  EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", wide, "d", "e"}));
  EXPECT_EQ(list_.GetItemData(0), 10);
  EXPECT_EQ(list_.GetItemData(2), 11);
  EXPECT_EQ(list_.GetItemData(4), 12);
  EXPECT_EQ(list_.HorizontalExtent(), Width(wide, font_.get()) + 5);
}

TEST_F(HSListBox, LinesFromAWorkerAndAFontChangeKeepTheExtent) {
  const std::string names = "Z:\\tmp\\ü€ДП한\\文件.tmp";
  std::thread worker([this, names] {
    std::wstring w = base::Wide(names);
    for (int i = 0; i < 50; ++i)
      SendMessageW(h_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(i == 25 ? w.c_str() : L"x.tmp"));
  });
  ASSERT_TRUE(wintest::PumpUntil([&] { return list_.GetCount() == 50; }));
  worker.join();
  EXPECT_EQ(list_.GetText(25), names);
  EXPECT_EQ(list_.HorizontalExtent(), Width(names, font_.get()) + 5);

  ui::Font bigger = ui::MakeFont("Tahoma", 40, FW_BOLD);
  SendMessageW(h_, WM_SETFONT, reinterpret_cast<WPARAM>(bigger.get()), FALSE);
  EXPECT_EQ(list_.HorizontalExtent(), Width(names, bigger.get()) + 5);
  SendMessageW(h_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

TEST_F(HSListBox, TenThousandLinesWithAnUpdateAfterEachKeepTheWidest) {
  // Speed is the benchmark's business (bench-scan.sh); this checks the result.
  ShowWindow(h_, SW_HIDE);
  std::string widest;
  for (int i = 0; i < 10000; ++i) {
    std::string line = "C:\\junk\\" + std::string(static_cast<size_t>(i % 97), 'w') + ".tmp";
    if (line.size() > widest.size()) widest = line;
    list_.AddString(line);
    list_.UpdateHorizontalExtent();
  }
  EXPECT_EQ(list_.GetCount(), 10000);
  EXPECT_EQ(list_.HorizontalExtent(), Width(widest, font_.get()) + 5);
}

TEST_F(HSListBox, BatchesOfLinesArriveInOneRedraw) {
  std::vector<std::string> batch;
  for (int i = 0; i < 500; ++i) batch.push_back("Z:\\tmp\\" + std::to_string(i * 7919) + ".log");
  batch[123] = "Z:\\tmp\\" + std::string(80, 'm') + ".log";
  EXPECT_EQ(list_.AddStrings(batch), 500);
  EXPECT_EQ(list_.AddStrings(batch), 500);
  EXPECT_EQ(list_.GetCount(), 1000);
  EXPECT_EQ(list_.GetText(623), batch[123]);
  EXPECT_EQ(list_.HorizontalExtent(), Width(batch[123], font_.get()) + 5);
  EXPECT_TRUE(IsWindowVisible(h_));
}

}  // namespace
