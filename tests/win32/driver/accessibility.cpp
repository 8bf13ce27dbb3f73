#include "accessibility.h"

#include <oleacc.h>

#include <vector>

#include "checks.h"
#include "session.h"

namespace driver {

namespace {

std::wstring take(BSTR text) {
  std::wstring taken = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return taken;
}

// The windows among the object's children, as AccessibleChildren lists them.
std::vector<HWND> childWindows(IAccessible* object) {
  long count = 0;
  object->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(std::max(count, 0L)));
  long got = 0;
  std::vector<HWND> windows;
  if (count <= 0 || FAILED(AccessibleChildren(object, 0, count, children.data(), &got)))
    return windows;
  for (long i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    HWND hwnd = nullptr;
    if (child.vt == VT_DISPATCH && child.pdispVal != nullptr) {
      IAccessible* accessible = nullptr;
      if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&accessible)))) {
        WindowFromAccessibleObject(accessible, &hwnd);
        accessible->Release();
      }
    }
    if (hwnd != nullptr)
      windows.push_back(hwnd);
    VariantClear(&child);
  }
  return windows;
}

// The role Windows' own proxy gives a standard control, by its class and
// style; 0 for a class of the program's own, which must answer itself.
long proxyRole(HWND hwnd) {
  const std::wstring windowClass = classOf(hwnd);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  if (windowClass == L"Button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return ROLE_SYSTEM_PUSHBUTTON;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return ROLE_SYSTEM_RADIOBUTTON;
      case BS_GROUPBOX:
        return ROLE_SYSTEM_GROUPING;
      default:
        return ROLE_SYSTEM_CHECKBUTTON;
    }
  }
  if (windowClass == L"Edit")
    return ROLE_SYSTEM_TEXT;
  if (windowClass == L"Static") {
    const LONG type = style & SS_TYPEMASK;
    return type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE ? ROLE_SYSTEM_GRAPHIC
                                                                          : ROLE_SYSTEM_STATICTEXT;
  }
  return 0;
}

}  // namespace

Heard heard(HWND hwnd, LONG object) {
  Heard h;
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(object), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible))))
    return h;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (accessible->get_accName(self, &text) == S_OK)
    h.name = take(text);
  text = nullptr;
  if (accessible->get_accValue(self, &text) == S_OK)
    h.value = take(text);
  VARIANT v{};
  if (SUCCEEDED(accessible->get_accRole(self, &v)) && v.vt == VT_I4)
    h.role = v.lVal;
  VariantClear(&v);
  if (SUCCEEDED(accessible->get_accState(self, &v)) && v.vt == VT_I4)
    h.state = v.lVal;
  VariantClear(&v);
  h.answered = true;
  accessible->Release();
  return h;
}

void checkHeard(HWND form, const StoredForm& stored, const std::wstring& focused) {
  // Wine's window objects answer nothing yet; their client areas carry
  // the same name.
  const Heard window = heard(form);
  CHECK(window.answered && window.name == stored.caption, L"form heard as " + window.name);
  for (const auto& c : stored.controls) {
    HWND hwnd = findControl(form, c.windowClass, c.text);
    CHECK(hwnd != nullptr, c.text);
    if (hwnd == nullptr)
      continue;
    const Heard h = heard(hwnd);
    const long role = proxyRole(hwnd) != 0 ? proxyRole(hwnd) : h.role;
    const std::wstring& said = c.role == ROLE_SYSTEM_TEXT ? h.value : h.name;
    const long wanted = c.text == focused ? STATE_SYSTEM_FOCUSED : 0;
    // An edit that takes typing is not read-only, a grouping takes no
    // focus; a label's read-only state is Windows' to give.
    const long heardStates = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE |
                             STATE_SYSTEM_FOCUSED | (c.role == kEdit ? STATE_SYSTEM_READONLY : 0) |
                             (c.role == kFrame ? STATE_SYSTEM_FOCUSABLE : 0);
    const long state = h.state & heardStates;
    CHECK(h.answered && said == c.text && role == c.role && state == wanted,
          std::wstring(c.text) + L" heard as " + said + L" role " + std::to_wstring(role) +
              L" state " + std::to_wstring(h.state));
    // Its parent, as a screen reader walks down to it.
    HWND parent = GetParent(hwnd);
    IAccessible* container = nullptr;
    AccessibleObjectFromWindow(parent, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&container));
    bool listed = false;
    if (container != nullptr) {
      for (HWND child : childWindows(container)) listed = listed || child == hwnd;
      container->Release();
    }
    const std::wstring above = heard(parent).name;
    CHECK(listed && above == stored.parentOf(c), std::wstring(c.text) + L" heard under " + above);
  }
}

}  // namespace driver
