#pragma once
// What a screen reader sees of targets the program paints itself: a
// window answers WM_GETOBJECT with an object of this layer, which asks the
// window's AccessibleSource for names, roles, states and places. The
// object holds only the window handle, so a reader that keeps it after the
// window is gone gets an error, never a dangling pointer. oleacc is loaded
// on the first question, not at start-up.
#include <windows.h>

#include <string>

#include "ui/Window.h"

namespace ui {

struct AccessibleItem {
  std::string name;
  long role = 0x2B;  // ROLE_SYSTEM_PUSHBUTTON
  long state = 0;    // STATE_SYSTEM_* flags
  RECT screen{};
  std::string value;
};

// Implemented by the ui::Window of the answering window.
class AccessibleSource {
 public:
  // Number of targets inside the object (0: the object is one target).
  virtual int AccessibleCount(LONG objectId) const = 0;
  // child 0 is the object itself, 1 to AccessibleCount() its targets.
  virtual bool Describe(LONG objectId, int child, AccessibleItem& item) const = 0;
  // The target's default action (a click); false when it cannot act now.
  virtual bool Activate(LONG objectId, int child) = 0;

 protected:
  ~AccessibleSource() = default;
};

// The reply to WM_GETOBJECT(wp, lp) when lp is `objectId`: an object over
// the source behind `hwnd`; 0 when the question is about another object
// (the caller then lets the system answer).
LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, LONG objectId);

// A control that no label can name (a rich edit, which takes no label):
// a screen reader is told `name`, `role` and the control's text as value.
class NamedControl : public Window, public AccessibleSource {
 public:
  NamedControl(std::string name, long role) : name_(std::move(name)), role_(role) {}

  int AccessibleCount(LONG) const override { return 0; }
  bool Describe(LONG objectId, int child, AccessibleItem& item) const override;
  bool Activate(LONG, int) override { return false; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::string name_;
  long role_;
};


}  // namespace ui
