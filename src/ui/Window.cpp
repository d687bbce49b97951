#include "ui/Window.h"

#include "ui/Dpi.h"
#include "ui/Task.h"
#include "base/Text.h"

namespace ui {
namespace {
// Signed coordinates: points left of or above a monitor are negative.
POINT PointOf(LPARAM lp) {
  return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}
}  // namespace

Window::~Window() { Detach(); }

void Window::Attach(HWND hwnd) {
  if (hwnd_ == hwnd) return;
  Detach();
  hwnd_ = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  oldProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticProc)));
}

void Window::Detach() {
  if (!hwnd_) return;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)) == StaticProc)
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

bool Window::SubclassDlgItem(int id, HWND parent) {
  HWND control = GetDlgItem(parent, id);
  if (!control) return false;
  SubclassWindow(control);
  return true;
}

Window* Window::FromHandle(HWND hwnd) {
  if (!hwnd || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != StaticProc)
    return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::string Window::Text() const {
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd_, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return base::Utf8(w);
}

void Window::SetText(const std::string& text) { SetWindowTextW(hwnd_, base::Wide(text).c_str()); }

LRESULT Window::Default() {
  return CallWindowProcW(oldProc_, hwnd_, current_.msg, current_.wp, current_.lp);
}

LRESULT Window::CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
  return oldProc_ ? CallWindowProcW(oldProc_, hwnd_, msg, wp, lp)
                  : SendMessageW(hwnd_, msg, wp, lp);
}

bool Window::OnReflect(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

UINT CtlColorKind(UINT msg) { return msg - WM_CTLCOLORMSGBOX; }

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  Message saved = self->current_;
  self->current_ = Message{msg, wp, lp};
  ++self->depth_;
  LRESULT r;
  if (msg == TaskMessage()) {
    RunTask(lp);
    r = 0;
  } else if (msg == WM_NCDESTROY) {
    DropTasks(hwnd);
    r = CallWindowProcW(self->oldProc_, hwnd, msg, wp, lp);
    self->Detach();
    self->PostNcDestroy();
  } else {
    r = self->WindowProc(msg, wp, lp);
  }
  self->current_ = saved;
  // An object that asked to be deleted goes only when no handler of it is
  // still on the stack.
  if (--self->depth_ == 0 && self->deletePending_) delete self;
  return r;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(msg, wp, lp); }

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  // Offer child notifications to the child's own object first.
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND: child = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lp)->hwndFrom; break;
    case WM_DRAWITEM: child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem; break;
    case WM_MEASUREITEM:
      child = GetDlgItem(hwnd_, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID));
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(lp); break;
    default: break;
  }
  if (child && child != hwnd_) {
    if (Window* w = FromHandle(child)) {
      LRESULT result = 0;
      if (w->OnReflect(msg, wp, lp, result)) return result;
    }
  }

  switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<HDC>(wp));
    case WM_NCPAINT: OnNcPaint(); return 0;
    case WM_NCACTIVATE: return OnNcActivate(static_cast<BOOL>(wp));
    case WM_ACTIVATE: OnActivate(LOWORD(wp), reinterpret_cast<HWND>(lp), HIWORD(wp)); return 0;
    case WM_SIZE: OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp)); return 0;
    case WM_NCHITTEST: return OnNcHitTest(PointOf(lp));
    case WM_NCMOUSEMOVE: OnNcMouseMove(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_NCMOUSELEAVE: OnNcMouseLeave(); return 0;
    case WM_NCLBUTTONDOWN: OnNcLButtonDown(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_NCLBUTTONUP: OnNcLButtonUp(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_NCRBUTTONUP: OnNcRButtonUp(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_MOUSEMOVE: OnMouseMove(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_LBUTTONUP: OnLButtonUp(static_cast<UINT>(wp), PointOf(lp)); return 0;
    case WM_SYSCOMMAND: OnSysCommand(static_cast<UINT>(wp), lp); return 0;
    case WM_TIMER: OnTimer(wp); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_DPICHANGED:
      OnDpiChanged(geom::ClampDpi(LOWORD(wp)), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp))) return 0;
      return Default();
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(reinterpret_cast<NMHDR*>(lp), result)) return result;
      return Default();
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (HBRUSH b =
              OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), CtlColorKind(msg)))
        return reinterpret_cast<LRESULT>(b);
      return Default();
    default: return Default();
  }
}

}  // namespace ui
