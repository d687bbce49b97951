#include "ui/Accessible.h"

#include <oleacc.h>

#include "base/Text.h"
#include "ui/Gdi.h"

namespace ui {
namespace {

using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using FromWindowFn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

struct Oleacc {
  LresultFromObjectFn lresultFromObject = nullptr;
  FromWindowFn fromWindow = nullptr;
};

const Oleacc& Library() {
  static const Oleacc lib = [] {
    Oleacc l;
    if (HMODULE m = LoadLibraryW(L"oleacc.dll")) {
      l.lresultFromObject = reinterpret_cast<LresultFromObjectFn>(
          reinterpret_cast<void*>(GetProcAddress(m, "LresultFromObject")));
      l.fromWindow = reinterpret_cast<FromWindowFn>(
          reinterpret_cast<void*>(GetProcAddress(m, "AccessibleObjectFromWindow")));
    }
    return l;
  }();
  return lib;
}

BSTR Bstr(const std::string& s) {
  std::wstring w = base::Wide(s);
  return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

class Object final : public IAccessible {
 public:
  Object(HWND hwnd, LONG objectId) : hwnd_(hwnd), objectId_(objectId) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
  }

  // IDispatch: readers call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Source() || !Library().fromWindow) return E_FAIL;
    return Library().fromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    AccessibleSource* s = Source();
    if (!s) return E_FAIL;
    *count = s->AccessibleCount(objectId_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child) *child = nullptr;
    return S_FALSE;  // the targets are simple elements of this object
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return String(child, name, &AccessibleItem::name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return String(child, value, &AccessibleItem::value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* d) override {
    if (d) *d = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Number(child, role, &AccessibleItem::role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Number(child, state, &AccessibleItem::state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* h) override {
    if (h) *h = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT, long*) override {
    if (f) *f = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* k) override {
    if (k) *k = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    if (!Source()) return E_FAIL;
    if (GetFocus() == hwnd_) {
      focus->vt = VT_I4;
      focus->lVal = CHILDID_SELF;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* sel) override {
    if (sel) sel->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    AccessibleItem item;
    HRESULT hr = Item(child, item);
    if (FAILED(hr)) return hr;
    *action = Bstr(item.role == ROLE_SYSTEM_PAGETAB ? "切换" : "按");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                        VARIANT child) override {
    if (!x || !y || !w || !h) return E_POINTER;
    AccessibleItem item;
    HRESULT hr = Item(child, item);
    if (FAILED(hr)) return hr;
    *x = item.screen.left;
    *y = item.screen.top;
    *w = item.screen.right - item.screen.left;
    *h = item.screen.bottom - item.screen.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long, VARIANT, VARIANT* end) override {
    if (end) end->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (!child) return E_POINTER;
    child->vt = VT_EMPTY;
    AccessibleSource* s = Source();
    if (!s) return E_FAIL;
    POINT p{x, y};
    for (int k = s->AccessibleCount(objectId_); k >= 0; --k) {
      AccessibleItem item;
      if (s->Describe(objectId_, k, item) && PtInRect(&item.screen, p)) {
        child->vt = VT_I4;
        child->lVal = k;
        return S_OK;
      }
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessibleSource* s = Source();
    int k = ChildIndex(child);
    if (!s) return E_FAIL;
    if (k < 0) return E_INVALIDARG;
    return s->Activate(objectId_, k) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  AccessibleSource* Source() const {
    if (!IsWindow(hwnd_)) return nullptr;
    return dynamic_cast<AccessibleSource*>(Window::FromHandle(hwnd_));
  }
  int ChildIndex(const VARIANT& child) const {
    if (child.vt != VT_I4) return -1;
    AccessibleSource* s = Source();
    if (!s || child.lVal < 0 || child.lVal > s->AccessibleCount(objectId_)) return -1;
    return static_cast<int>(child.lVal);
  }
  HRESULT Item(const VARIANT& child, AccessibleItem& item) const {
    AccessibleSource* s = Source();
    if (!s) return E_FAIL;
    int k = ChildIndex(child);
    if (k < 0) return E_INVALIDARG;
    return s->Describe(objectId_, k, item) ? S_OK : E_FAIL;
  }

  HRESULT String(const VARIANT& child, BSTR* out, std::string AccessibleItem::*field) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleItem item;
    HRESULT hr = Item(child, item);
    if (FAILED(hr)) return hr;
    if ((item.*field).empty()) return S_FALSE;
    *out = Bstr(item.*field);
    return S_OK;
  }
  HRESULT Number(const VARIANT& child, VARIANT* out, long AccessibleItem::*field) const {
    if (!out) return E_POINTER;
    AccessibleItem item;
    HRESULT hr = Item(child, item);
    if (FAILED(hr)) return hr;
    out->vt = VT_I4;
    out->lVal = item.*field;
    return S_OK;
  }

  LONG refs_ = 1;
  HWND hwnd_;
  LONG objectId_;
};

}  // namespace

LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, LONG objectId) {
  if (static_cast<LONG>(lp) != objectId || !Library().lresultFromObject) return 0;
  if (!dynamic_cast<AccessibleSource*>(Window::FromHandle(hwnd))) return 0;
  auto* object = new Object(hwnd, objectId);
  LRESULT r = Library().lresultFromObject(IID_IAccessible, wp, object);
  object->Release();
  return r;
}

bool NamedControl::Describe(LONG, int child, AccessibleItem& item) const {
  if (child != 0 || !hwnd_) return false;
  item.name = name_;
  item.role = role_;
  item.value = Text();
  item.state = STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == hwnd_) item.state |= STATE_SYSTEM_FOCUSED;
  if (!IsWindowVisible(hwnd_)) item.state |= STATE_SYSTEM_INVISIBLE;
  if (!IsWindowEnabled(hwnd_)) item.state |= STATE_SYSTEM_UNAVAILABLE;
  item.screen = WindowRect(hwnd_);
  return true;
}

LRESULT NamedControl::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETOBJECT)
    if (LRESULT r = AnswerGetObject(hwnd_, wp, lp, OBJID_CLIENT)) return r;
  return Window::WindowProc(msg, wp, lp);
}

}  // namespace ui
