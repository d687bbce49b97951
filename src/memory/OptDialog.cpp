#include "memory/OptDialog.h"

#include <oleacc.h>

#include "controls/Fonts.h"
#include "memory/MemorySystem.h"
#include "res/Bitmaps.h"
#include "res/resource.h"
#include "ui/Gdi.h"

namespace {

constexpr controls::FontStyle kCaption{controls::Face::YaHei, 22, FW_BOLD, false};
constexpr controls::FontStyle kFigures{controls::Face::YaHei, 16, FW_BOLD, false};

constexpr controls::Place kLayout[] = {
    {IDC_MEMORY_USAGE_LABEL, 40, 40, 300, 30, false, kCaption},
    {IDC_MEMORY_USAGE, 60, 90, 150, 150, true},
    {IDC_MEMORY_USED_LABEL, 250, 130, 140, 22, false, kFigures},
    {IDC_MEMORY_USED, 390, 130, 130, 22, false, kFigures},
    {IDC_MEMORY_TOTAL_LABEL, 250, 170, 140, 22, false, kFigures},
    {IDC_MEMORY_TOTAL, 390, 170, 130, 22, false, kFigures},
    {IDC_MEMORY_MESSAGE, 40, 285, 480, 30, false, kCaption},
    {IDC_MEMORY_SPEED_UP, 551, 152, 210, 95, true},
};

}  // namespace

BOOL OptDialog::OnInitDialog() {
  controls::Page::OnInitDialog();
  speedUp_.SubclassDlgItem(IDC_MEMORY_SPEED_UP, hwnd_);
  speedUp_.SetBitmaps(IDB_FACE_SPEEDUP, IDB_FACE_SPEEDUP_HOVER);
  usage_.SubclassDlgItem(IDC_MEMORY_USAGE, hwnd_);
  usage_.SetBitmaps(IDB_USAGE_DIAL, IDB_USAGE_DIAL);
  SetLayout(kLayout);
  Refresh();
  SetTimer(hwnd_, kRefreshTimer, kRefreshPeriodMs, nullptr);
  return TRUE;
}

void OptDialog::OnPaint() {
  ui::PaintDC dc(hwnd_);
  ui::DrawBitmapTo(dc.get(), S(531), 0, S(1), S(420), IDB_DIVIDER, dpi_);
}

bool OptDialog::OnCommand(int id, int code, HWND) {
  if (id != IDC_MEMORY_SPEED_UP || code != BN_CLICKED) return false;
  OnSpeedUpClicked();
  return true;
}

void OptDialog::OnTimer(UINT_PTR id) {
  Default();
  if (id == kRefreshTimer) Refresh();
}

void OptDialog::Refresh() {
  panel_.Refresh(memory::memorySystem().Read());
  ShowPercentAndMessage();
  SetItemText(IDC_MEMORY_USED, panel_.Shown().used);
  SetItemText(IDC_MEMORY_TOTAL, panel_.Shown().total);
}

void OptDialog::ShowPercentAndMessage() {
  usage_.SetCaption(panel_.Shown().percent);
  // A gauge, not a button: a screen reader says what it shows.
  usage_.SetAccessibleName("内存占用 " + panel_.Shown().percent, ROLE_SYSTEM_STATICTEXT);
  SetItemText(IDC_MEMORY_MESSAGE, panel_.Shown().message);
}

void OptDialog::OnSpeedUpClicked() {
  if (!panel_.Begin()) return;
  EnableWindow(speedUp_.hwnd(), FALSE);
  HWND page = hwnd_;
  bool started = worker_.Start([page, this](const ui::StopToken& run) {
    memory::memorySystem().Optimize();
    run.Post(page, [this] { FinishSpeedUp(); });
  });
  if (!started) {
    // No thread to spare: the speed-up is short enough to run here.
    memory::memorySystem().Optimize();
    FinishSpeedUp();
  }
}

void OptDialog::FinishSpeedUp() {
  panel_.Finish(memory::memorySystem().Read());
  ShowPercentAndMessage();
  EnableWindow(speedUp_.hwnd(), TRUE);
}
