// The operating-system values the program passes to its declared entry
// points, named once. The Windows names are given beside each; they are
// not used as identifiers because <windows.h> defines them as macros.
#pragma once

#include "app/basic_types.h"

namespace app {

// SetWindowPos' insert-after handle and flags.
namespace InsertAfter {
inline constexpr Long Topmost = -1;     // HWND_TOPMOST
inline constexpr Long NotTopmost = -2;  // HWND_NOTOPMOST
}  // namespace InsertAfter
namespace WindowPos {
inline constexpr Long NoSize = 1;  // SWP_NOSIZE
inline constexpr Long NoMove = 2;  // SWP_NOMOVE
}  // namespace WindowPos

// GetWindowLongA's and SetWindowLongA's index, and the extended style bits.
namespace WindowLong {
inline constexpr Long ExStyle = -20;  // GWL_EXSTYLE
}  // namespace WindowLong
namespace ExStyle {
inline constexpr Long ToolWindow = 0x80;   // WS_EX_TOOLWINDOW
inline constexpr Long WindowEdge = 0x100;  // WS_EX_WINDOWEDGE
inline constexpr Long Layered = 0x80000;   // WS_EX_LAYERED
}  // namespace ExStyle

// SetLayeredWindowAttributes' flags.
namespace Layered {
inline constexpr Long ColourKey = 1;  // LWA_COLORKEY
}  // namespace Layered

// Shell_NotifyIcon's messages and the record's flags.
namespace NotifyIcon {
inline constexpr Long Add = 0;          // NIM_ADD
inline constexpr Long Delete = 2;       // NIM_DELETE
inline constexpr Long FlagMessage = 1;  // NIF_MESSAGE
inline constexpr Long FlagIcon = 2;     // NIF_ICON
inline constexpr Long FlagTip = 4;      // NIF_TIP
}  // namespace NotifyIcon

// Mouse messages, as the tray reports them through the callback.
namespace MouseMessage {
inline constexpr Long Move = 0x200;             // WM_MOUSEMOVE
inline constexpr Long LeftUp = 0x202;           // WM_LBUTTONUP
inline constexpr Long LeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK
inline constexpr Long RightUp = 0x205;          // WM_RBUTTONUP
inline constexpr Long MiddleUp = 0x208;         // WM_MBUTTONUP
}  // namespace MouseMessage

}  // namespace app
