#include "app/MainFrameOnline.h"

#include "app/CheckUpdateDlg.h"
#include "app/NewVersionDlg.h"
#include "base/Version.h"
#include "net/Server.h"
#include "net/UpdateCheck.h"
#include "res/resource.h"
#include "ui/Effects.h"

namespace {
UINT updateDelay = MainFrameOnline::kUpdateDelayMs;
}  // namespace

void MainFrameOnline::SetUpdateDelay(UINT ms) { updateDelay = ms; }

void MainFrameOnline::Start(HWND main) {
  main_ = main;
  SYSTEMTIME now = ui::effects().LocalTime();
  today_ = notices::DateNumber(now.wYear, now.wMonth, now.wDay);
  dates_ = {};
  UpdatePromotion();
  const std::string server = net::MakerServer();
  noticeWorker_.Start([this, main, server](const ui::StopToken& run) {
    net::TextAnswer notice =
        net::FetchText(net::SystemServices(), server + notices::kNoticePath, run.Flag());
    run.Post(main, [this, notice] {
      dates_ = notices::ParseDates(notice);
      UpdatePromotion();
    });
    // The statistics page counts the start; its answer is not used.
    net::FetchText(net::SystemServices(), server + notices::kStatisticsPath, run.Flag());
  });
  if (updateDelay != 0) SetTimer(main, kUpdateTimer, updateDelay, nullptr);
}

bool MainFrameOnline::OnTimer(UINT_PTR id) {
  if (id != kUpdateTimer) return false;
  KillTimer(main_, kUpdateTimer);
  currentVersion_ = base::kVersion;
  CheckUpdate(true);
  return true;
}

void MainFrameOnline::CheckUpdate(bool silent) {
  if (currentVersion_.empty()) currentVersion_ = base::kVersion;
  const std::string url = net::MakerServer() + update::kVersionPath;
  HWND main = main_;
  // A newer check replaces one still on its way.
  bool started = updateWorker_.Start([this, main, url, silent](const ui::StopToken& run) {
    net::TextAnswer answer = net::FetchText(net::SystemServices(), url, run.Flag());
    run.Post(main, [this, answer, silent] { ShowCheckResult(answer, silent); });
  });
  if (!started) ShowCheckResult(net::TextAnswer{}, silent);
}

void MainFrameOnline::ShowCheckResult(const net::TextAnswer& answer, bool silent) {
  update::Decision decision = update::Decide(answer, currentVersion_);
  switch (decision.outcome) {
    case update::Outcome::kFailed:
      // Shown for the silent check too.
      ui::effects().ShowMessage(main_, update::kNetworkError, base::kProgramName, MB_OK);
      break;
    case update::Outcome::kNewer:
      newVersion_ = decision.version;
      controls::MirvenDialog::Open<CheckUpdateDlg>(update::kUpdateTitle, decision.version);
      break;
    case update::Outcome::kSame:
      if (!silent) ui::effects().ShowMessage(nullptr, update::kUpToDate, base::kProgramName, MB_OK);
      break;
  }
}

void MainFrameOnline::OpenNotes() {
  controls::MirvenDialog::Open<NewVersionDlg>(update::kNotesTitle);
}

void MainFrameOnline::UpdatePromotion() {
  promotionVisible_ = notices::PromotionVisible(dates_, today_);
  if (main_)
    ShowWindow(GetDlgItem(main_, IDC_LINK_PROMOTION), promotionVisible_ ? SW_SHOWNORMAL : SW_HIDE);
}

int MainFrameOnline::LinkAt(POINT client) const {
  for (int id : {IDC_LINK_SITE, IDC_LINK_PROMOTION}) {
    if (id == IDC_LINK_PROMOTION && !promotionVisible_) continue;
    HWND label = GetDlgItem(main_, id);
    RECT r{};
    if (!label || !GetWindowRect(label, &r)) continue;
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&r), 2);
    if (PtInRect(&r, client)) return id;
  }
  return 0;
}

bool MainFrameOnline::SetLinkCursor(POINT client) {
  if (LinkAt(client) == 0) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void MainFrameOnline::OnLButtonUp(POINT client) {
  switch (LinkAt(client)) {
    case IDC_LINK_SITE:
      ui::effects().ShellOpen(net::MakerServer() + notices::kSitePath, "", SW_SHOWNORMAL);
      break;
    case IDC_LINK_PROMOTION:
      ui::effects().ShellOpen(notices::kPromotionUrl, "", SW_SHOWNORMAL);
      break;
  }
}
