#pragma once
// The painted click targets of a window (the header's page buttons and
// caption pictures, the tiles and cards of the tile pages) as focusable
// child controls drawn with the same pictures. The window keeps its own
// mouse handling: the controls let the pointer through to it and show the
// faces it asks for. The keyboard reaches them with Tab in reading order
// and the arrow keys within a group; Enter and Space activate them; a
// screen reader sees each as a button (or a page tab) with its name.
#include <functional>
#include <memory>
#include <vector>

#include "controls/FocusOrder.h"
#include "ui/Geometry.h"

#include <windows.h>

namespace controls {

struct Target {
  int code;          // what the window's `act` is given
  geom::Rect rect;   // design pixels, in the window's client area
  int group;
  const char* name;  // UTF-8
  int normalBitmap;
  int litBitmap;
};

class TargetButton;

class Targets {
 public:
  using Act = std::function<void(int code)>;
  Targets();
  ~Targets();
  Targets(const Targets&) = delete;
  Targets& operator=(const Targets&) = delete;

  // One control per target on `host`, in reading order, ahead of the
  // host's other controls in the tab order. Page tabs are told to screen
  // readers as such, with the selected one.
  void Create(HWND host, std::vector<Target> targets, Act act, bool pageTabs = false);
  // Places the controls at the host's DPI (after Create and each change).
  void Place(int dpi);
  // Moves target `index` (design pixels) and places it.
  void Move(std::size_t index, const geom::Rect& rect, int dpi);

  // The face each shows: lit while the pointer is over it.
  void SetLit(std::size_t index, bool lit);
  void SetPressed(std::size_t index, bool pressed);
  void SetSelected(std::size_t index);
  void Redraw();

  std::size_t Count() const { return buttons_.size(); }
  HWND Window(std::size_t index) const;
  int IndexOf(int code) const;
  // The arrow key's move from `index` within its group.
  std::size_t Arrow(std::size_t index, focus::Arrow arrow) const;
  void Activate(std::size_t index) const;

 private:
  std::vector<Target> targets_;
  std::vector<std::unique_ptr<TargetButton>> buttons_;
  Act act_;
};

}  // namespace controls
