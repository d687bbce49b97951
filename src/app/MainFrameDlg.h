#pragma once
// The one main window: a borderless dialog that paints its own header
// (caption bar, menu/minimise/close pictures, five page buttons) and shows
// one of the five pages below it.
#include <memory>

#include "app/HeaderLayout.h"
#include "app/MainFrameOnline.h"
#include "controls/LayoutDialog.h"
#include "controls/Targets.h"
#include "ui/Handles.h"

namespace controls {
class Page;
}

class CMainFrameDlg : public controls::LayoutDialog {
 public:
  static constexpr int kTemplate = 105;

  static CMainFrameDlg& GetInstance();

  void SelectPage(int page);
  void DrawHeader();
  void DrawPageButtons(int page);
  void DrawCaptionText();
  void CheckUpdate(bool silent) { online_.CheckUpdate(silent); }
  MainFrameOnline& Online() { return online_; }

  int CurrentPage() const { return currentPage_; }
  controls::Page* PageWindow(int page) const { return pages_[page - 1].get(); }
  bool CloseHot() const { return closeHot_; }
  bool MinimizeHot() const { return minimizeHot_; }
  bool MenuHot() const { return menuHot_; }
  // The page button under the pointer (1 to 5), or 0.
  int HotPageButton() const;
  // The header's focusable targets: the caption's menu, minimise and close
  // pictures and the five page buttons, in that (reading) order.
  const controls::Targets& HeaderTargets() const { return targets_; }
  // Keys for the whole window, before the dialog's own handling: page
  // switching and the menu.
  bool PreTranslateKey(const MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint() override;
  BOOL OnEraseBkgnd(HDC dc) override;
  void OnNcPaint() override;
  BOOL OnNcActivate(BOOL active) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDpiApplied() override;
  LRESULT OnNcHitTest(POINT screen) override;
  void OnNcMouseMove(UINT hit, POINT screen) override;
  void OnNcMouseLeave() override;
  void OnNcLButtonDown(UINT hit, POINT screen) override;
  void OnNcLButtonUp(UINT hit, POINT screen) override;
  void OnNcRButtonUp(UINT hit, POINT screen) override;
  void OnSysCommand(UINT id, LPARAM lp) override;
  bool OnCommand(int id, int code, HWND control) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;
  void OnClose() override;
  HCURSOR OnQueryDragIcon() override;
  void OnTimer(UINT_PTR id) override;
  void OnMouseMove(UINT flags, POINT client) override;
  void OnLButtonUp(UINT flags, POINT client) override;
  // Enter does nothing here; Esc asks before closing, like the close picture.
  void OnOK() override {}
  void OnCancel() override { ConfirmClose(); }

 private:
  CMainFrameDlg();
  void ConfirmClose();
  void ShowAbout();
  void DrawCaptionButtons(header::CaptionButton lit);
  void PlaceTargets();
  void OnTarget(int code);
  // The picture menu, from the mouse at the cursor's height or from the
  // keyboard under the menu picture.
  void OpenCaptionMenu(bool atCursor);
  // A point on the screen in design pixels of the window.
  geom::Point ToWindow(POINT screen) const;
  void PlacePages();
  void Draw(HDC dc, const geom::Rect& design, int bitmap) const;

  HICON icon_;
  ui::Brush background_;
  std::unique_ptr<controls::Page> pages_[header::kPageCount];
  int currentPage_ = 1;
  int width_ = header::kWidth;
  int height_ = header::kHeight;
  bool minimizeHot_ = false;
  bool closeHot_ = false;
  bool menuHot_ = false;
  bool pageHot_[header::kPageCount] = {};
  bool altAlone_ = false;
  controls::Targets targets_;
  MainFrameOnline online_;
};
