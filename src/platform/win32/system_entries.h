// The program's declared entry points, bound to the real user32 and
// shell32 functions on first call.
#pragma once

#include "platform/win32/windows_api.h"

#include <map>
#include <optional>
#include <string>

#include "app/platform.h"

namespace win32 {

class SystemEntries : public app::SystemEntries {
 public:
  void bind(std::string_view library, std::string_view entry) override;
  app::Long SetWindowPos(app::Long hWnd, app::Long insertAfter, app::Long x, app::Long y,
                         app::Long cx, app::Long cy, app::Long flags) override;
  app::Long GetWindowLongA(app::Long hWnd, app::Long index) override;
  app::Long SetWindowLongA(app::Long hWnd, app::Long index, app::Long value) override;
  app::Long SetLayeredWindowAttributes(app::Long hWnd, app::Long colourKey, std::uint8_t alpha,
                                       app::Long flags) override;
  app::Long Shell_NotifyIcon(app::Long message, app::NotifyIconData& data) override;
  app::Long lastError() override;
  bool showsTrayIcons() override { return true; }

  // Re-adds the window's icon after the taskbar restarted, when the last
  // call for it was an add.
  void restoreTrayIcon(HWND hwnd);

 private:
  template <class F>
  F entry(const char* name) const;

  std::map<std::string, FARPROC, std::less<>> entries_;
  // The icon's record as last added, to be added again; none once it was
  // deleted.
  std::optional<NOTIFYICONDATAW> lastAdd_;
};

}  // namespace win32
