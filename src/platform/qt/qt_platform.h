// The services port on Qt Widgets.
#pragma once

#include <QTimer>
#include <functional>

#include "app/platform.h"
#include "platform/qt/command_runner.h"
#include "platform/qt/system_entries.h"
#include "platform/qt/tray_icons.h"
#include "platform/qt/window_registry.h"

namespace qtui {

class QtPlatform : public app::Platform {
 public:
  explicit QtPlatform(CommandRunner& commands);
  ~QtPlatform() override;

  std::unique_ptr<app::WindowPeer> createWindow(app::Form& form) override;
  void messageBox(const std::string& text, int style, const std::string& title) override;
  double run(const app::CommandLine& command, app::WindowStyle style) override;
  app::Picture loadPicture(const std::string& path) override;
  app::Picture builtinPicture(std::string_view name) override;
  std::string applicationDirectory() override;
  std::chrono::nanoseconds now() override;
  void timersChanged() override;
  void end() override;
  app::SystemEntries& entries() override { return entries_; }

  // What ending does once the windows are done with; by default it leaves
  // the application's event loop.
  void setEndAction(std::function<void()> action) { endAction_ = std::move(action); }

  WindowRegistry& windows() { return windows_; }
  TrayIcons& tray() { return tray_; }

 private:
  CommandRunner& commands_;
  WindowRegistry windows_;
  TrayIcons tray_{windows_};
  QtSystemEntries entries_{windows_, tray_};
  QTimer timer_;
  double nextTask_ = 1;
  std::function<void()> endAction_;
};

}  // namespace qtui
