// The module: the operating-system entry points the program declares and
// the one tray record. Each entry is bound on its first call; the last
// system error is recorded after every call.
#pragma once

#include <set>
#include <string_view>

#include "app/basic_types.h"
#include "app/notify_icon_data.h"
#include "app/platform.h"

namespace forms {

using app::Long;

class Module1 {
 public:
  app::NotifyIconData TrayIconData{};

  Long Shell_NotifyIcon(Long dwMessage, app::NotifyIconData& lpData);
  Long SetWindowPos(Long hWnd, Long hWndInsertAfter, Long x, Long y, Long cx, Long cy, Long wFlags);
  Long GetWindowLongA(Long hWnd, Long nIndex);
  Long SetWindowLongA(Long hWnd, Long nIndex, Long dwNewLong);
  Long SetLayeredWindowAttributes(Long hWnd, Long crKey, std::uint8_t bAlpha, Long dwFlags);

 private:
  app::SystemEntries& bound(std::string_view library, std::string_view entry);
  void recordLastError();

  std::set<std::string_view> bound_;
};

}  // namespace forms
