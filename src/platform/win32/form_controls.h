// The native windows of a form's controls: standard buttons, edits and
// statics, and a frame class of our own that can carry children.
#pragma once

#include "platform/win32/windows_api.h"

#include "app/control.h"

namespace win32 {

inline constexpr wchar_t kFrameClass[] = L"TavimoFrame";
inline constexpr int kFirstControlId = 100;

// A window class with an arrow cursor and no background brush of its own.
void registerWindowClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name);
void registerFrameClass(HINSTANCE instance);

// The control's window, a child of parent at its stored place, or null
// for controls without one (timers, lines, menu items).
HWND createControlWindow(const app::Control& control, HWND parent, int id, HFONT font,
                         app::Single twipsPerPixel);

// Fonts live as long as the program; there are only two.
HFONT controlFont(const app::ControlLayout& layout);

}  // namespace win32
