// Shell_NotifyIcon's icons as QSystemTrayIcons. Every activation reaches
// the record's window as a mouse move whose X is the Windows mouse message
// times the twips per pixel, so the core's handler reads the same as there.
#pragma once

#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <map>
#include <memory>
#include <utility>

#include "app/notify_icon_data.h"
#include "platform/qt/window_registry.h"

namespace qtui {

class TrayIcons {
 public:
  explicit TrayIcons(WindowRegistry& windows);
  ~TrayIcons();

  // NIM_ADD and NIM_DELETE; false when the icon is (not) there.
  bool add(const app::NotifyIconData& record);
  bool remove(const app::NotifyIconData& record);
  void removeAll();

  const QSystemTrayIcon* find(app::Long hWnd, app::Long uID) const;
  // Whether the desktop has a tray now.
  bool trayAvailable() const { return available_(); }
  // Where the desktop has a tray; tests choose.
  void setAvailability(bool (*available)()) { available_ = available; }
  std::size_t count() const { return icons_.size(); }

  // What an activation of the icon delivers.
  void activated(app::Long hWnd, app::Long uID, QSystemTrayIcon::ActivationReason reason);

 private:
  using Key = std::pair<app::Long, app::Long>;
  void apply(QSystemTrayIcon& icon, const app::NotifyIconData& record);
  app::Long messageFor(QSystemTrayIcon::ActivationReason reason);

  WindowRegistry& windows_;
  std::map<Key, std::unique_ptr<QSystemTrayIcon>> icons_;
  QElapsedTimer lastTrigger_;
  bool doubleFromTriggers_ = false;
  bool (*available_)() = &QSystemTrayIcon::isSystemTrayAvailable;
};

}  // namespace qtui
