#pragma once
// The owner-drawn push button of the pages: a bitmap resource as its face,
// with the page colour transparent, and its window text drawn over it in
// bold white "微软雅黑". While the pointer is over it the face switches to a
// hover bitmap; a 10 ms timer notices when the pointer has gone. It shows
// the keyboard focus (when the keyboard is in use), a press (the face one
// pixel down and right) and a disabled state (face and caption faded),
// all from the same face pictures; Enter clicks it like Space.
#include <string>

#include "ui/Accessible.h"
#include "ui/Handles.h"
#include "ui/Window.h"

class MyDrawButton : public ui::Window, public ui::AccessibleSource {
 public:
  static constexpr UINT_PTR kHoverTimer = 24;
  static constexpr UINT kHoverPeriodMs = 10;

  // Binds a button (or SubclassDlgItem) and makes it owner-drawn.
  void SubclassWindow(HWND button) override;

  // Face bitmaps by resource id: `normal` when the pointer is elsewhere,
  // `hover` while it is over the button; the face shows `normal` now.
  void SetBitmaps(unsigned normal, unsigned hover);
  // SubclassDlgItem and SetBitmaps in one: how pages bind their buttons.
  bool Bind(int id, HWND parent, unsigned normal, unsigned hover);
  // Shows `face` now (normally one of the two above) and repaints.
  void SetFaceBitmap(unsigned face);

  // Caption := text (UTF-8), repainted at once.
  void SetCaption(const std::string& text);

  unsigned NormalBitmap() const { return normalBitmap_; }
  unsigned HoverBitmap() const { return hoverBitmap_; }
  unsigned FaceBitmap() const { return faceBitmap_; }
  bool IsHovering() const { return hovering_; }
  COLORREF CurrentTextColour() const { return currentTextColour_; }
  // Font height of the last caption drawn (0 before the first).
  int CaptionHeight() const { return fontHeight_; }

  // What a screen reader calls the button when its caption is not the
  // right name (a gauge that shows only "5%"), and its role.
  void SetAccessibleName(const std::string& name, long role);

  // Face and caption onto a DC whose origin is the button's top-left corner.
  void DrawItem(HDC dc);

  int AccessibleCount(LONG) const override { return 0; }
  bool Describe(LONG objectId, int child, ui::AccessibleItem& item) const override;
  bool Activate(LONG objectId, int child) override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnMouseMove(UINT flags, POINT client) override;
  void OnTimer(UINT_PTR id) override;
  BOOL OnEraseBkgnd(HDC) override { return TRUE; }
  void OnMouseLeave();
  // Acts as a click on the button would (its parent gets BN_CLICKED).
  virtual void Click();
  // The pictures are the whole face: drawn opaque and stretched to the
  // button, without a caption (the window text is only its name).
  void SetPictureFace() { pictureFace_ = true; }
  // Role and extra states a screen reader is told.
  long accessibleRole_ = 0x2B;  // ROLE_SYSTEM_PUSHBUTTON
  virtual long ExtraStates() const { return 0; }
  // Asks the button's parent to paint behind it (WM_CTLCOLORSTATIC).
  void PaintParentBackground(HDC dc, const RECT& rc);

 private:
  void PreSubclassWindow();
  void DrawFace(HDC dc);
  void DrawCaption(HDC dc);
  // Both, right now, outside the paint cycle.
  void Redraw();
  void EnterHover();
  void LeaveHover();

  unsigned normalBitmap_ = 0;
  unsigned hoverBitmap_ = 0;
  unsigned faceBitmap_ = 0;
  bool hovering_ = false;
  COLORREF currentTextColour_ = RGB(255, 255, 255);
  COLORREF hoverTextColour_ = RGB(255, 255, 255);
  COLORREF normalTextColour_ = RGB(255, 255, 255);
  int fontHeight_ = 0;
  bool pictureFace_ = false;
  std::string accessibleName_;
};
