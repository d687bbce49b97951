// The skinned frame of secondary windows, on the plain template 109.
#include <gtest/gtest.h>

#include "controls/Colours.h"
#include "controls/MirvenDialog.h"
#include "support/WinTest.h"
#include "ui/Gdi.h"

namespace {

// Tells the test when the object is gone.
class ProbeDialog : public controls::MirvenDialog {
 public:
  explicit ProbeDialog(bool* deleted) : deleted_(deleted) {}
  ~ProbeDialog() override { *deleted_ = true; }

 private:
  bool* deleted_;
};

class MirvenDialog : public testing::Test {
 protected:
  void SetUp() override {
    dlg_ = controls::MirvenDialog::Open<ProbeDialog>("定时关机", &deleted_);
    ASSERT_NE(dlg_, nullptr);
    h_ = dlg_->hwnd();
    wintest::Pump();
  }
  void TearDown() override {
    if (IsWindow(h_)) DestroyWindow(h_);
    EXPECT_TRUE(deleted_);
  }
  LPARAM At(int x, int y) const {
    RECT r = ui::WindowRect(h_);
    return MAKELPARAM(r.left + x, r.top + y);
  }
  void MoveTo(int x, int y) { SendMessageW(h_, WM_NCMOUSEMOVE, HTCAPTION, At(x, y)); }

  bool deleted_ = false;
  controls::MirvenDialog* dlg_ = nullptr;
  HWND h_ = nullptr;
};

TEST_F(MirvenDialog, OpensAsATopLevelWindowWithItsTitle) {
  EXPECT_EQ(dlg_->TitleText(), "定时关机-Mirven电脑助手");
  EXPECT_TRUE(IsWindowVisible(h_));
  EXPECT_EQ(GetAncestor(h_, GA_ROOT), h_);
  EXPECT_EQ(GetWindow(h_, GW_OWNER), nullptr);
  EXPECT_FALSE(dlg_->CloseHovered() || dlg_->MinimizeHovered());
}

TEST_F(MirvenDialog, TitleIsEmptyUntilSet) {
  bool gone = false;
  auto* plain = new ProbeDialog(&gone);
  ASSERT_TRUE(plain->Create(GetDesktopWindow()));
  plain->SetAutoDelete(true);
  EXPECT_EQ(plain->TitleText(), "");
  DestroyWindow(plain->hwnd());
  EXPECT_TRUE(gone);
}

TEST_F(MirvenDialog, HoverFollowsTheHitRectanglesOf300PixelWindow) {
  SetWindowPos(h_, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  MoveTo(274, 0);
  EXPECT_TRUE(dlg_->CloseHovered());
  EXPECT_FALSE(dlg_->MinimizeHovered());
  MoveTo(273, 25);
  EXPECT_TRUE(dlg_->MinimizeHovered());
  EXPECT_FALSE(dlg_->CloseHovered());
  MoveTo(299, 10);
  EXPECT_TRUE(dlg_->CloseHovered());
  // Elsewhere on the caption the flags keep their values.
  MoveTo(247, 10);
  EXPECT_TRUE(dlg_->CloseHovered());
  MoveTo(290, 26);
  EXPECT_TRUE(dlg_->CloseHovered());
  SendMessageW(h_, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_FALSE(dlg_->CloseHovered() || dlg_->MinimizeHovered());
}

TEST_F(MirvenDialog, ReleaseAfterLeavingCloseStillClosesAndFreesTheWindow) {
  int w = ui::WindowSize(h_).cx;
  MoveTo(w - 10, 10);
  MoveTo(w / 2, 10);  // onto the plain caption
  SendMessageW(h_, WM_NCLBUTTONUP, HTCAPTION, At(w / 2, 10));
  EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindow(h_); }));
  EXPECT_TRUE(deleted_);
}

TEST_F(MirvenDialog, MinimizeClearsItsFlag) {
  int w = ui::WindowSize(h_).cx;
  MoveTo(w - 40, 10);
  ASSERT_TRUE(dlg_->MinimizeHovered());
  SendMessageW(h_, WM_NCLBUTTONUP, HTCAPTION, At(w - 40, 10));
  EXPECT_TRUE(IsIconic(h_));
  EXPECT_FALSE(dlg_->MinimizeHovered());
  EXPECT_FALSE(deleted_);
}

TEST_F(MirvenDialog, StaticsAndButtonsDrawWhiteOnTheDialogBlue) {
  HDC dc = GetDC(h_);
  HWND ok = GetDlgItem(h_, IDOK);
  auto b1 = SendMessageW(h_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(ok));
  EXPECT_EQ(GetTextColor(dc), colours::kText);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  auto b2 =
      SendMessageW(h_, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ok));
  EXPECT_NE(b1, 0);
  EXPECT_EQ(b1, b2);  // one brush, created once
  LOGBRUSH lb{};
  GetObjectW(reinterpret_cast<HBRUSH>(b1), sizeof lb, &lb);
  EXPECT_EQ(lb.lbColor, colours::kWindow);
  auto b3 =
      SendMessageW(h_, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(ok));
  EXPECT_NE(b3, b1);
  ReleaseDC(h_, dc);
}

TEST_F(MirvenDialog, RepaintingLeaksNoGdiObjects) {
  RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  DWORD before = wintest::GdiObjects();
  for (int i = 0; i < 300; ++i) {
    RedrawWindow(h_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    SendMessageW(h_, WM_ACTIVATE, WA_ACTIVE, 0);
  }
  EXPECT_LE(wintest::GdiObjects(), before + 2);
}

}  // namespace

// For people to look at: scripts/screenshots.sh runs it.
TEST(Screenshots, DISABLED_SkinnedDialog) {
  auto* dlg = controls::MirvenDialog::Open<controls::MirvenDialog>("对话框");
  ASSERT_NE(dlg, nullptr);
  HWND h = dlg->hwnd();
  SetWindowPos(h, HWND_TOP, 100, 100, 0, 0, SWP_NOSIZE);
  wintest::PumpUntil([] { return false; }, 500);  // let it paint and settle
  EXPECT_TRUE(wintest::SaveScreen(ui::WindowRect(h), "skinned-dialog"));
  DestroyWindow(h);
}
