#include "platform/win32/role_accessible.h"

// The annotation properties' GUIDs are defined here, not in a library.
#include <initguid.h>

#include <oleacc.h>

#include "platform/win32/com.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/library_entry.h"

namespace win32 {

namespace {

constexpr wchar_t kAnnotated[] = L"TavimoAnnotated";

// Bound on first use: most runs never meet a screen reader, and start-up
// need not load oleacc for them.
struct Oleacc {
  decltype(&::CreateStdAccessibleObject) createStandard = nullptr;
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
};

const Oleacc& oleacc() {
  static const Oleacc entries = [] {
    Oleacc e;
    // The answer is marshalled, which needs COM on this thread.
    enterApartment();
    e.createStandard =
        libraryEntry<decltype(e.createStandard)>(L"oleacc.dll", "CreateStdAccessibleObject");
    e.lresultFromObject =
        libraryEntry<decltype(e.lresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return e;
  }();
  return entries;
}

bool isSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The role's own state, and whether the window is disabled: the window
// hears of every change to that (WM_ENABLE), not of every change to its
// visibility, which is asked afresh where it can be.
LONG stateOf(HWND hwnd, AccessibleRole said) {
  return said.state | (IsWindowEnabled(hwnd) ? 0 : STATE_SYSTEM_UNAVAILABLE);
}

// The service that overrides properties of the system's proxies; null without one.
ComPtr<IAccPropServices> propertyServices() {
  ComPtr<IAccPropServices> services;
  createInstance(CLSID_AccPropServices, IID_IAccPropServices, services.putVoid());
  return services;
}

// Windows' own way: the system's proxy with two of its properties
// overridden. Wine's oleacc creates the service, but its calls fail.
bool annotate(HWND hwnd, AccessibleRole said) {
  static bool available = true;
  if (!available)
    return false;
  const ComPtr<IAccPropServices> services = propertyServices();
  VARIANT role{}, state{};
  role.vt = state.vt = VT_I4;
  role.lVal = said.role;
  state.lVal = stateOf(hwnd, said);
  available = services &&
              SUCCEEDED(services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                              PROPID_ACC_ROLE, role)) &&
              SUCCEEDED(services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                              PROPID_ACC_STATE, state));
  if (available)
    SetPropW(hwnd, kAnnotated, reinterpret_cast<HANDLE>(1));
  return available;
}

// Elsewhere the system's proxy in all but the role and state, with an
// identity of its own: it hands out none of the proxy's interfaces, and
// lists the proxy's children through its own.
class InRole final : public IAccessible, public IEnumVARIANT, public IOleWindow {
 public:
  InRole(IAccessible* standard, HWND hwnd, AccessibleRole said)
      : standard_(standard), hwnd_(hwnd), said_(said) {
    standard_->QueryInterface(IID_IEnumVARIANT, children_.putVoid());
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible))
      *out = static_cast<IAccessible*>(this);
    else if (iid == IID_IOleWindow)
      *out = static_cast<IOleWindow*>(this);
    else if (iid == IID_IEnumVARIANT && children_)
      *out = static_cast<IEnumVARIANT*>(this);
    else
      *out = nullptr;
    if (*out == nullptr)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    *hwnd = hwnd_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
    return children_->Next(count, children, fetched);
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children_->Skip(count); }
  HRESULT STDMETHODCALLTYPE Reset() override { return children_->Reset(); }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override { return children_->Clone(copy); }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = --references_;
    if (left == 0)
      delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!isSelf(child))
      return standard_->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = said_.role;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* badArgument) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, badArgument);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!isSelf(child))
      return standard_->get_accState(child, state);
    state->vt = VT_I4;
    state->lVal = stateOf(hwnd_, said_) | (IsWindowVisible(hwnd_) ? 0 : STATE_SYSTEM_INVISIBLE);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~InRole() { standard_->Release(); }

  IAccessible* standard_;
  ComPtr<IEnumVARIANT> children_;
  HWND hwnd_;
  AccessibleRole said_;
  LONG references_ = 1;
};

}  // namespace

LRESULT roleAccessible(HWND hwnd, WPARAM wParam, LPARAM lParam, AccessibleRole role) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT)
    return 0;
  const Oleacc& entries = oleacc();
  if (GetPropW(hwnd, kAnnotated) != nullptr || annotate(hwnd, role) ||
      entries.createStandard == nullptr || entries.lresultFromObject == nullptr)
    return 0;
  IAccessible* standard = nullptr;
  if (FAILED(entries.createStandard(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                    reinterpret_cast<void**>(&standard))))
    return 0;
  auto* inRole = new InRole(standard, hwnd, role);
  const LRESULT answer =
      entries.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(inRole));
  inRole->Release();
  return answer < 0 ? 0 : answer;
}

void forgetRole(HWND hwnd) {
  if (RemovePropW(hwnd, kAnnotated) == nullptr)
    return;
  const MSAAPROPID props[] = {PROPID_ACC_ROLE, PROPID_ACC_STATE};
  if (const ComPtr<IAccPropServices> services = propertyServices())
    services->ClearHwndProps(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, props, 2);
}

}  // namespace win32
