// The tray record as the program declares it: six 32-bit fields and a tip
// held as a string, 28 bytes in the declared form. Platforms turn it into
// their own record for each call.
#pragma once

#include <string>

#include "app/basic_types.h"

namespace app {

struct NotifyIconData {
  Long cbSize = 0;
  Long hWnd = 0;
  Long uID = 0;
  Long uFlags = 0;
  Long uCallbackMessage = 0;
  Long hIcon = 0;
  std::string szTip;
};

namespace NotifyIcon {
inline constexpr Long Add = 0;
inline constexpr Long Delete = 2;
inline constexpr Long FlagMessage = 1;
inline constexpr Long FlagIcon = 2;
inline constexpr Long FlagTip = 4;
}  // namespace NotifyIcon

// Mouse messages the tray reports through the callback.
namespace MouseMessage {
inline constexpr Long Move = 0x200;
inline constexpr Long LeftDown = 0x201;
inline constexpr Long LeftUp = 0x202;
inline constexpr Long LeftDoubleClick = 0x203;
inline constexpr Long RightDown = 0x204;
inline constexpr Long RightUp = 0x205;
inline constexpr Long MiddleDown = 0x207;
inline constexpr Long MiddleUp = 0x208;
}  // namespace MouseMessage

}  // namespace app
