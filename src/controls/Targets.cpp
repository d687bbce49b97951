#include "controls/Targets.h"

#include <oleacc.h>

#include "controls/MyDrawButton.h"
#include "base/Text.h"
#include "ui/Scale.h"

namespace controls {

class TargetButton : public MyDrawButton {
 public:
  TargetButton(const Targets& owner, std::size_t index, bool pageTab)
      : owner_(owner), index_(index) {
    if (pageTab) accessibleRole_ = ROLE_SYSTEM_PAGETAB;
    SetPictureFace();
  }
  bool selected = false;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      // The pointer is the window's business: it goes through to it.
      case WM_NCHITTEST: return HTTRANSPARENT;
      case WM_GETDLGCODE: return MyDrawButton::WindowProc(msg, wp, lp) | DLGC_WANTARROWS;
      case WM_KEYDOWN: {
        focus::Arrow arrow;
        switch (wp) {
          case VK_LEFT: arrow = focus::Arrow::Left; break;
          case VK_RIGHT: arrow = focus::Arrow::Right; break;
          case VK_UP: arrow = focus::Arrow::Up; break;
          case VK_DOWN: arrow = focus::Arrow::Down; break;
          default: return MyDrawButton::WindowProc(msg, wp, lp);
        }
        SetFocus(owner_.Window(owner_.Arrow(index_, arrow)));
        return 0;
      }
      default: return MyDrawButton::WindowProc(msg, wp, lp);
    }
  }
  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
      owner_.Activate(index_);
      result = 0;
      return true;
    }
    return MyDrawButton::OnReflect(msg, wp, lp, result);
  }
  long ExtraStates() const override {
    long s = selected ? STATE_SYSTEM_SELECTED : 0;
    if (FaceBitmap() == HoverBitmap() && HoverBitmap() != NormalBitmap())
      s |= STATE_SYSTEM_HOTTRACKED;
    return s;
  }

 private:
  const Targets& owner_;
  std::size_t index_;
};

Targets::Targets() = default;
Targets::~Targets() = default;

void Targets::Create(HWND host, std::vector<Target> targets, Act act, bool pageTabs) {
  act_ = std::move(act);
  std::vector<focus::Stop> stops;
  for (const Target& t : targets) stops.push_back(focus::Stop{t.rect, t.group, true});
  targets_.clear();
  for (int i : focus::ReadingOrder(stops.data(), stops.size()))
    targets_.push_back(targets[static_cast<std::size_t>(i)]);
  HWND after = HWND_TOP;
  for (std::size_t i = 0; i < targets_.size(); ++i) {
    const Target& t = targets_[i];
    HWND h = CreateWindowExW(0, L"BUTTON", base::Wide(t.name).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 0, 0, 0, host,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    auto button = std::make_unique<TargetButton>(*this, i, pageTabs);
    if (h) {
      SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = h;
      button->SubclassWindow(h);
      button->SetBitmaps(static_cast<unsigned>(t.normalBitmap), static_cast<unsigned>(t.litBitmap));
    }
    buttons_.push_back(std::move(button));
  }
}

void Targets::Place(int dpi) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) Move(i, targets_[i].rect, dpi);
}

void Targets::Move(std::size_t index, const geom::Rect& rect, int dpi) {
  targets_[index].rect = rect;
  geom::Rect r = geom::Scale(rect, dpi);
  if (HWND h = Window(index))
    SetWindowPos(h, nullptr, r.left, r.top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Targets::SetLit(std::size_t index, bool lit) {
  if (index >= buttons_.size()) return;
  const Target& t = targets_[index];
  buttons_[index]->SetFaceBitmap(static_cast<unsigned>(lit ? t.litBitmap : t.normalBitmap));
  UpdateWindow(Window(index));
}

void Targets::SetPressed(std::size_t index, bool pressed) {
  if (HWND h = Window(index)) SendMessageW(h, BM_SETSTATE, pressed ? TRUE : FALSE, 0);
}

void Targets::SetSelected(std::size_t index) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->selected = i == index;
}

void Targets::Redraw() {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (HWND h = Window(i)) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

HWND Targets::Window(std::size_t index) const {
  return index < buttons_.size() ? buttons_[index]->hwnd() : nullptr;
}

int Targets::IndexOf(int code) const {
  for (std::size_t i = 0; i < targets_.size(); ++i)
    if (targets_[i].code == code) return static_cast<int>(i);
  return -1;
}

std::size_t Targets::Arrow(std::size_t index, focus::Arrow arrow) const {
  std::vector<focus::Stop> stops;
  for (std::size_t i = 0; i < targets_.size(); ++i)
    stops.push_back(focus::Stop{targets_[i].rect, targets_[i].group,
                                Window(i) && IsWindowEnabled(Window(i)) != FALSE});
  return static_cast<std::size_t>(
      focus::Move(stops.data(), stops.size(), static_cast<int>(index), arrow));
}

void Targets::Activate(std::size_t index) const {
  if (index < targets_.size() && act_) act_(targets_[index].code);
}

}  // namespace controls
