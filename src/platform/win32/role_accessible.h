// What a screen reader is told about a window of one of the program's own
// control classes: Windows' own description of it, but in the role of the
// control it stands for (a frame is a grouping, so the options inside are
// heard as belonging together; a label is static text), with the state
// of that role: neither takes the focus.
#pragma once

#include "platform/win32/windows_api.h"

namespace win32 {

struct AccessibleRole {
  LONG role;
  LONG state;
};

// The answer to WM_GETOBJECT for such a window: its client area in the
// given role, or 0 (for other objects, or without oleacc) to let the
// system answer.
LRESULT roleAccessible(HWND hwnd, WPARAM wParam, LPARAM lParam, AccessibleRole role);
// The window goes, or is enabled or disabled: what was said about it goes
// too, to be said again when next asked.
void forgetRole(HWND hwnd);

}  // namespace win32
