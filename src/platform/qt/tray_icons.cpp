#include "platform/qt/tray_icons.h"

#include <QApplication>

#include "app/application.h"
#include "platform/qt/form_window.h"
#include "platform/qt/pictures.h"

namespace qtui {

TrayIcons::TrayIcons(WindowRegistry& windows) : windows_(windows) {}

TrayIcons::~TrayIcons() {
  removeAll();
}

void TrayIcons::apply(QSystemTrayIcon& icon, const app::NotifyIconData& record) {
  if (record.uFlags & app::NotifyIcon::FlagIcon) {
    const QtPicture* picture = QtPicture::find(record.hIcon);
    icon.setIcon(picture ? picture->icon() : QIcon());
  }
  if (record.uFlags & app::NotifyIcon::FlagTip)
    icon.setToolTip(QString::fromStdString(record.szTip));
}

bool TrayIcons::add(const app::NotifyIconData& record) {
  const Key key{record.hWnd, record.uID};
  if (icons_.contains(key) || !available_())
    return false;
  auto icon = std::make_unique<QSystemTrayIcon>();
  apply(*icon, record);
  QObject::connect(icon.get(), &QSystemTrayIcon::activated,
                   [this, key](QSystemTrayIcon::ActivationReason reason) {
                     activated(key.first, key.second, reason);
                   });
  icon->show();
  icons_.emplace(key, std::move(icon));
  return true;
}

bool TrayIcons::remove(const app::NotifyIconData& record) {
  auto it = icons_.find({record.hWnd, record.uID});
  if (it == icons_.end())
    return false;
  it->second->hide();
  // Not deleted here: the removal usually runs inside the icon's signal.
  it->second.release()->deleteLater();
  icons_.erase(it);
  return true;
}

void TrayIcons::removeAll() {
  for (auto& [key, icon] : icons_) icon->hide();
  icons_.clear();
}

const QSystemTrayIcon* TrayIcons::find(app::Long hWnd, app::Long uID) const {
  auto it = icons_.find({hWnd, uID});
  return it == icons_.end() ? nullptr : it->second.get();
}

app::Long TrayIcons::messageFor(QSystemTrayIcon::ActivationReason reason) {
  using R = QSystemTrayIcon::ActivationReason;
  using M = app::Long;
  switch (reason) {
    case R::DoubleClick: {
      // Already delivered from two single activations.
      const bool echo = doubleFromTriggers_ && lastTrigger_.isValid() &&
                        lastTrigger_.elapsed() <= QApplication::doubleClickInterval();
      doubleFromTriggers_ = false;
      lastTrigger_.invalidate();  // the next single activation starts afresh
      return echo ? M{0} : app::MouseMessage::LeftDoubleClick;
    }
    case R::Trigger: {
      // Status-notifier hosts report single activations only: a second one
      // within the double-click time is the double-click.
      const bool second = lastTrigger_.isValid() && !doubleFromTriggers_ &&
                          lastTrigger_.elapsed() <= QApplication::doubleClickInterval();
      lastTrigger_.start();
      doubleFromTriggers_ = second;
      return second ? app::MouseMessage::LeftDoubleClick : app::MouseMessage::LeftUp;
    }
    case R::Context:
      return app::MouseMessage::RightUp;
    case R::MiddleClick:
      return app::MouseMessage::MiddleUp;
    case R::Unknown:
      break;
  }
  return 0;
}

void TrayIcons::activated(app::Long hWnd, app::Long uID, QSystemTrayIcon::ActivationReason reason) {
  (void)uID;
  const app::Long message = messageFor(reason);
  FormWindow* window = windows_.find(hWnd);
  if (message == 0 || window == nullptr || window->form() == nullptr)
    return;
  app::Application::current().mouseMove(*window->form(), 0, 0,
                                        app::trayCallbackX(message, window->twipsPerPixel()), 0);
}

}  // namespace qtui
