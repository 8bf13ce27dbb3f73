// The tray record as the program declares it: six 32-bit fields and a tip
// held as a string, 28 bytes in the declared form. Platforms turn it into
// their own record for each call.
#pragma once

#include <string>

#include "app/basic_types.h"
#include "app/system_constants.h"

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

}  // namespace app
