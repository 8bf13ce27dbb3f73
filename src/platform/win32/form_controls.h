// The native windows of a form's controls: standard buttons and edits,
// and classes of our own for frames, which carry children, and labels.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

#include "app/control.h"

namespace win32 {

inline constexpr wchar_t kFrameClass[] = L"TavimoFrame";
inline constexpr wchar_t kLabelClass[] = L"TavimoLabel";
inline constexpr int kFirstControlId = 100;

// A window class with an arrow cursor and no background brush of its own.
void registerWindowClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name,
                         UINT style = 0);
void registerControlClasses(HINSTANCE instance);

// The control's window, a child of parent at its stored place, or null
// for controls without one (timers, lines, menu items). Labels are drawn
// by the form (WM_DRAWITEM).
HWND createControlWindow(const app::Control& control, HWND parent, int id,
                         app::Single twipsPerPixel);
// Moves the control's window to its stored place and font at a density.
void placeControl(HWND hwnd, const app::ControlLayout& layout, app::Single twipsPerPixel);

// Whether an option button is being given the focus: what it reports
// then is no click.
bool optionTakingFocus();

// A window's text, read by its length.
std::wstring windowText(HWND hwnd);

// Fonts live as long as the program: two faces at the densities seen.
HFONT controlFont(const app::ControlLayout& layout, app::Single twipsPerPixel);

}  // namespace win32
