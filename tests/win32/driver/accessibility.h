// What a screen reader hears, read through oleacc from outside the
// program, as a screen reader reads it.
#pragma once

#include <windows.h>

#include <string>

#include "stored_layouts.h"

namespace driver {

struct Heard {
  bool answered = false;
  std::wstring name, value;
  long role = 0, state = 0;
};
// The object's name, value, role and state, through AccessibleObjectFromWindow.
Heard heard(HWND hwnd, LONG object = OBJID_CLIENT);

// The form named by its caption, and every stored control:
// its name (an edit's value), role, state and place in the tree. Only
// focused (a control's text) has the focus; all are enabled and shown.
void checkHeard(HWND form, const StoredForm& stored, const std::wstring& focused = L"");

}  // namespace driver
