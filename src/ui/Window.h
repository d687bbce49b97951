#pragma once
// The window layer the program is built on. A Window wraps an HWND that it
// subclasses (its window procedure replaced, `this` kept in GWLP_USERDATA;
// both are read without a round trip to the window server, unlike window
// properties or comctl32's subclass chain under Wine): every
// message reaches the virtual WindowProc, whose default dispatch calls the
// On* handlers below. A handler that wants the system's own processing calls
// Default(), before or after its own work. WM_COMMAND and WM_NOTIFY from a
// child, WM_DRAWITEM/WM_MEASUREITEM and WM_CTLCOLOR* are first offered to
// the child's own Window (Reflect); the parent sees them only if it declines.
#include <windows.h>

#include <string>

// <windowsx.h> has a SubclassWindow macro; this layer's method is meant.
#ifdef SubclassWindow
#undef SubclassWindow
#endif

namespace ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  // Starts routing the messages of an existing window (a control on a
  // dialog, say) through this object. Detach happens on WM_NCDESTROY.
  void Attach(HWND hwnd);
  void Detach();
  // Binds the control `id` of `parent` through SubclassWindow; false when
  // there is no such control.
  bool SubclassDlgItem(int id, HWND parent);
  // Binds an existing window; controls that must prepare it extend this.
  virtual void SubclassWindow(HWND hwnd) { Attach(hwnd); }

  // The Window object behind an HWND, or nullptr.
  static Window* FromHandle(HWND hwnd);

  // UTF-8 window text.
  std::string Text() const;
  void SetText(const std::string& text);

 protected:
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The system's processing of the message being handled.
  LRESULT Default();
  // A message straight to the procedure the window had before it was bound,
  // past WindowProc: for many messages at once that need none of its work.
  LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp);

  // Messages reflected from the parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
  // WM_MEASUREITEM, WM_CTLCOLOR*). Return true with `result` set to handle.
  virtual bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  virtual void OnPaint() { Default(); }
  virtual BOOL OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
  virtual void OnNcPaint() { Default(); }
  virtual BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
  virtual void OnActivate(UINT /*state*/, HWND /*other*/, BOOL /*minimized*/) { Default(); }
  virtual void OnSize(UINT /*type*/, int /*cx*/, int /*cy*/) { Default(); }
  virtual LRESULT OnNcHitTest(POINT /*screen*/) { return Default(); }
  virtual void OnNcMouseMove(UINT /*hit*/, POINT /*screen*/) { Default(); }
  virtual void OnNcMouseLeave() { Default(); }
  virtual void OnNcLButtonDown(UINT /*hit*/, POINT /*screen*/) { Default(); }
  virtual void OnNcLButtonUp(UINT /*hit*/, POINT /*screen*/) { Default(); }
  virtual void OnNcRButtonUp(UINT /*hit*/, POINT /*screen*/) { Default(); }
  virtual void OnMouseMove(UINT /*flags*/, POINT /*client*/) { Default(); }
  virtual void OnLButtonDown(UINT /*flags*/, POINT /*client*/) { Default(); }
  virtual void OnLButtonUp(UINT /*flags*/, POINT /*client*/) { Default(); }
  virtual void OnSysCommand(UINT /*id*/, LPARAM /*lp*/) { Default(); }
  // Return true when the command was handled.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnNotify(NMHDR* /*hdr*/, LRESULT& /*result*/) { return false; }
  virtual void OnTimer(UINT_PTR /*id*/) { Default(); }
  // Return nullptr for the default brush.
  virtual HBRUSH OnCtlColor(HDC /*dc*/, HWND /*control*/, UINT /*kind*/) { return nullptr; }
  virtual void OnClose() { Default(); }
  virtual void OnDestroy() { Default(); }
  virtual HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
  // WM_DPICHANGED: the window is now shown at `dpi`; `suggested` is where
  // the system proposes to put it.
  virtual void OnDpiChanged(int /*dpi*/, const RECT& /*suggested*/) { Default(); }
  // Called after the window is gone (WM_NCDESTROY).
  virtual void PostNcDestroy() {}
  // Deletes this object once the message being handled returns (an object
  // must not vanish under a handler that is still running).
  void DeleteWhenDone() { deletePending_ = true; }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  struct Message {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  };
  WNDPROC oldProc_ = nullptr;
  Message current_{};
  int depth_ = 0;
  bool deletePending_ = false;
};

// The WM_CTLCOLOR* kinds, as the CTLCOLOR_* constants.
UINT CtlColorKind(UINT msg);

}  // namespace ui
