#include "accessibility.h"

#include <comdef.h>
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "checks.h"
#include "session.h"

namespace driver {

namespace {

_COM_SMARTPTR_TYPEDEF(IAccessible, __uuidof(IAccessible));

std::wstring wide(const _bstr_t& b) {
  return b.length() > 0 ? std::wstring(static_cast<const wchar_t*>(b), b.length()) : L"";
}

// The windows among the children of parent's client object, as
// AccessibleChildren lists them.
std::vector<HWND> childWindows(HWND parent) {
  std::vector<HWND> windows;
  IAccessiblePtr object;
  long count = 0, got = 0;
  if (FAILED(AccessibleObjectFromWindow(parent, static_cast<DWORD>(OBJID_CLIENT),
                                        IID_PPV_ARGS(&object))) ||
      FAILED(object->get_accChildCount(&count)))
    return windows;
  // Those it does not fill stay empty.
  std::vector<_variant_t> children(static_cast<std::size_t>(std::max(count, 0L)));
  AccessibleChildren(object, 0, count, children.data(), &got);
  for (const _variant_t& child : children) {
    HWND hwnd = nullptr;
    if (const IAccessiblePtr accessible{child.vt == VT_DISPATCH ? child.pdispVal : nullptr})
      WindowFromAccessibleObject(accessible, &hwnd);
    if (hwnd != nullptr)
      windows.push_back(hwnd);
  }
  return windows;
}

// The role Windows' own proxy gives a standard control, by its class and
// style; 0 for a class of the program's own, which must answer itself.
long proxyRole(HWND hwnd) {
  const std::wstring windowClass = classOf(hwnd);
  const LONG button = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
  if (windowClass == L"Button")
    return button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON      ? ROLE_SYSTEM_PUSHBUTTON
           : button == BS_RADIOBUTTON || button == BS_AUTORADIOBUTTON ? ROLE_SYSTEM_RADIOBUTTON
           : button == BS_GROUPBOX                                    ? ROLE_SYSTEM_GROUPING
                                                                      : ROLE_SYSTEM_CHECKBUTTON;
  return windowClass == L"Edit" ? ROLE_SYSTEM_TEXT : 0;
}

}  // namespace

Heard heard(HWND hwnd, LONG object) {
  Heard h;
  IAccessiblePtr accessible;
  if (FAILED(
          AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(object), IID_PPV_ARGS(&accessible))))
    return h;
  const _variant_t self(static_cast<long>(CHILDID_SELF), VT_I4);  // the object itself
  _bstr_t name, value;
  _variant_t role, state;
  h.name = accessible->get_accName(self, name.GetAddress()) == S_OK ? wide(name) : L"";
  h.value = accessible->get_accValue(self, value.GetAddress()) == S_OK ? wide(value) : L"";
  accessible->get_accRole(self, &role);
  accessible->get_accState(self, &state);
  h.role = role.vt == VT_I4 ? role.lVal : 0;
  h.state = state.vt == VT_I4 ? state.lVal : 0;
  h.answered = true;
  return h;
}

void checkHeard(HWND form, const StoredForm& stored, const std::wstring& focused) {
  // Wine's window objects answer nothing yet; their client areas carry
  // the same name.
  const Heard window = heard(form);
  CHECK(window.answered && window.name == stored.caption, L"form heard as " + window.name);
  for (const auto& c : stored.controls) {
    HWND hwnd = findControl(form, c.windowClass, c.text);
    if (!CHECK(hwnd != nullptr, c.text))
      continue;
    const Heard h = heard(hwnd);
    const long role = proxyRole(hwnd) != 0 ? proxyRole(hwnd) : h.role;
    const std::wstring& said = c.role == ROLE_SYSTEM_TEXT ? h.value : h.name;
    const long wanted = (c.text == focused ? STATE_SYSTEM_FOCUSED : 0) |
                        (c.role == kLabel ? STATE_SYSTEM_READONLY : 0);
    // An edit that takes typing is not read-only, a label is; neither a
    // grouping nor a label takes the focus.
    const long heardStates = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE |
                             STATE_SYSTEM_FOCUSED |
                             (c.role == kEdit || c.role == kLabel ? STATE_SYSTEM_READONLY : 0) |
                             (c.role == kFrame || c.role == kLabel ? STATE_SYSTEM_FOCUSABLE : 0);
    const long state = h.state & heardStates;
    CHECK(h.answered && said == c.text && role == c.role && state == wanted,
          std::wstring(c.text) + L" heard as " + said + L" role " + std::to_wstring(role) +
              L" state " + std::to_wstring(h.state));
    // Its parent, as a screen reader walks down to it.
    HWND parent = GetParent(hwnd);
    const std::vector<HWND> listed = childWindows(parent);
    const std::wstring above = heard(parent).name;
    CHECK(std::find(listed.begin(), listed.end(), hwnd) != listed.end() &&
              above == stored.parentOf(c),
          std::wstring(c.text) + L" heard under " + above);
  }
}

}  // namespace driver
