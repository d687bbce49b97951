#pragma once
// The main window's online half: the notice and statistics requests at
// start-up, the promotion label and the two link labels, timer 23 with the
// silent update check, and the update and notes windows. Every request runs
// on a worker; the answers come back to the window's thread.
#include <windows.h>

#include <string>

#include "app/Notices.h"
#include "ui/Worker.h"

class MainFrameOnline {
 public:
  static constexpr UINT_PTR kUpdateTimer = 23;
  static constexpr UINT kUpdateDelayMs = 5000;
  // Tests shorten the wait before the start-up check, or stop it with 0.
  static void SetUpdateDelay(UINT ms);

  // Fetches the notice dates and sends the statistics hit (both on a
  // worker), and starts timer 23 on `main`.
  void Start(HWND main);
  // Timer 23: stops itself and runs the silent check. False for other timers.
  bool OnTimer(UINT_PTR id);
  void CheckUpdate(bool silent);
  void OpenNotes();

  // Shows label 1037 on the notice's days, hides it otherwise.
  void UpdatePromotion();
  bool PromotionVisible() const { return promotionVisible_; }
  // Over a link label: the hand cursor (true when set); a click opens its
  // address.
  bool SetLinkCursor(POINT client);
  void OnLButtonUp(POINT client);

  const std::string& CurrentVersion() const { return currentVersion_; }
  const std::string& NewVersion() const { return newVersion_; }
  const notices::Dates& NoticeDates() const { return dates_; }

 private:
  void ShowCheckResult(const net::TextAnswer& answer, bool silent);
  // The link label under `client`, 0 when none answers there.
  int LinkAt(POINT client) const;

  HWND main_ = nullptr;
  // The start-up fetches and the update check run apart, so that neither
  // stops the other.
  ui::Worker noticeWorker_, updateWorker_;
  notices::Dates dates_;
  long today_ = 0;
  bool promotionVisible_ = false;
  std::string currentVersion_;
  std::string newVersion_;
};
