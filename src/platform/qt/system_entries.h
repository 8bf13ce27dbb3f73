// The five declared operating-system entry points, realised with Qt: the
// stay-on-top hint, an extended-style word per window, the colour key as a
// window mask, and the tray icons.
#pragma once

#include <map>

#include "app/platform.h"
#include "platform/qt/tray_icons.h"
#include "platform/qt/window_registry.h"

namespace qtui {

class QtSystemEntries : public app::SystemEntries {
 public:
  QtSystemEntries(WindowRegistry& windows, TrayIcons& tray);

  void bind(std::string_view library, std::string_view entry) override;
  app::Long SetWindowPos(app::Long hWnd, app::Long insertAfter, app::Long x, app::Long y,
                         app::Long cx, app::Long cy, app::Long flags) override;
  app::Long GetWindowLongA(app::Long hWnd, app::Long index) override;
  app::Long SetWindowLongA(app::Long hWnd, app::Long index, app::Long value) override;
  app::Long SetLayeredWindowAttributes(app::Long hWnd, app::Long colourKey, std::uint8_t alpha,
                                       app::Long flags) override;
  app::Long Shell_NotifyIcon(app::Long message, app::NotifyIconData& data) override;
  app::Long lastError() override { return 0; }
  bool showsTrayIcons() override;

 private:
  app::Long& exStyle(app::Long hWnd);

  WindowRegistry& windows_;
  TrayIcons& tray_;
  std::map<app::Long, app::Long> exStyles_;
};

}  // namespace qtui
