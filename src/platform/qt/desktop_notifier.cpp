#include "platform/qt/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace qtui {

void DesktopNotifier::notify(const QString& body, Urgency urgency) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const QVariantMap hints{
      {QStringLiteral("urgency"), QVariant::fromValue(static_cast<uchar>(urgency))}};
  call << QStringLiteral("Tavimo 关机工具") << 0u << QStringLiteral("tavimo-shutdown")
       << QStringLiteral("Tavimo 关机工具") << body << QStringList() << hints << -1;
  QDBusConnection::sessionBus().send(call);
}

}  // namespace qtui
