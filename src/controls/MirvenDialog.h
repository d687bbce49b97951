#pragma once
// Base of every secondary window: a frame of pictures in place of the
// system's, the title centred in white in the caption, and its own
// minimise and close buttons run from the non-client mouse messages. A
// screen reader finds those two in the window's title bar object; the
// keyboard reaches them through the window menu (Alt+Space).
#include <string>

#include "controls/LayoutDialog.h"
#include "ui/Accessible.h"
#include "ui/Handles.h"

namespace controls {

class MirvenDialog : public LayoutDialog, public ui::AccessibleSource {
 public:
  static constexpr int kTemplate = 109;

  explicit MirvenDialog(int templateId = kTemplate) : LayoutDialog(templateId) {}

  // Title := text + "-Mirven电脑助手"; called by the opener before showing.
  void SetTitleText(const std::string& text);
  const std::string& TitleText() const { return title_; }
  bool CloseHovered() const { return closeHovered_; }
  bool MinimizeHovered() const { return minimizeHovered_; }

  int AccessibleCount(LONG objectId) const override { return objectId == OBJID_TITLEBAR ? 2 : 0; }
  bool Describe(LONG objectId, int child, ui::AccessibleItem& item) const override;
  bool Activate(LONG objectId, int child) override;

  // Opens a modeless top-level window (the desktop as parent) that frees
  // itself when destroyed: how the program opens every secondary window.
  template <typename T, typename... Args>
  static T* Open(const std::string& title, Args&&... args) {
    auto* dlg = new T(std::forward<Args>(args)...);
    if (!dlg->Create(GetDesktopWindow())) {
      delete dlg;
      return nullptr;
    }
    dlg->SetAutoDelete(true);
    dlg->SetTitleText(title);
    ShowWindow(dlg->hwnd(), SW_SHOW);
    return dlg;
  }

 protected:
  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint() override;
  void OnNcPaint() override;
  void OnActivate(UINT state, HWND other, BOOL minimized) override;
  BOOL OnNcActivate(BOOL active) override;
  void OnNcMouseMove(UINT hit, POINT screen) override;
  void OnNcLButtonDown(UINT hit, POINT screen) override;
  void OnNcLButtonUp(UINT hit, POINT screen) override;
  void OnNcMouseLeave() override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;

  void OnDpiApplied() override { PaintSkinFrame(); }

  void PaintSkinFrame();
  void PaintTitle();

  unsigned long background_;
  int width_ = 0;
  int height_ = 0;

 private:
  std::string title_;
  bool minimizeHovered_ = false;
  bool closeHovered_ = false;
  ui::Brush brush_;
};

}  // namespace controls
