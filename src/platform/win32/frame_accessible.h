// What a screen reader is told about a frame: Windows' own description of
// the window, but as a grouping named by its caption rather than a plain
// client area, so the options inside are heard as belonging together,
// and one that takes no focus.
#pragma once

#include "platform/win32/windows_api.h"

namespace win32 {

// The answer to WM_GETOBJECT for a frame: its client area as a grouping,
// or 0 (for other objects, or without oleacc) to let the system answer.
LRESULT frameAccessible(HWND hwnd, WPARAM wParam, LPARAM lParam);
// The frame's window goes: what was said about it goes too.
void forgetFrame(HWND hwnd);

}  // namespace win32
