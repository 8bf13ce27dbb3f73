#include "platform/qt/logind_client.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>

namespace qtui {

namespace {

QDBusMessage managerCall(const QString& method) {
  return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                        QStringLiteral("/org/freedesktop/login1"),
                                        QStringLiteral("org.freedesktop.login1.Manager"), method);
}

LogindClient::Failure failureOf(const QDBusMessage& reply) {
  if (reply.type() == QDBusMessage::ErrorMessage)
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
  if (reply.type() != QDBusMessage::ReplyMessage)
    // No answer in time: logind may still carry the request out.
    return QStringLiteral(
        "systemd-logind 没有及时应答，无法确认请求是否生效（可用“取消快捷按钮关机”取消）");
  return std::nullopt;
}

}  // namespace

LogindClient::Failure LogindClient::scheduleShutdown(const QString& type,
                                                     std::chrono::system_clock::time_point at) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected())
    return QStringLiteral("无法连接系统总线：") + bus.lastError().message();
  QDBusMessage call = managerCall(QStringLiteral("ScheduleShutdown"));
  const auto usec =
      std::chrono::duration_cast<std::chrono::microseconds>(at.time_since_epoch()).count();
  call << type << QVariant::fromValue(static_cast<qulonglong>(usec));
  return failureOf(bus.call(call, QDBus::Block, kTimeoutMs));
}

LogindClient::Failure LogindClient::cancelScheduledShutdown(bool& cancelled) {
  cancelled = false;
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected())
    return QStringLiteral("无法连接系统总线：") + bus.lastError().message();
  const QDBusMessage reply =
      bus.call(managerCall(QStringLiteral("CancelScheduledShutdown")), QDBus::Block, kTimeoutMs);
  if (auto failure = failureOf(reply))
    return failure;
  if (!reply.arguments().isEmpty())
    cancelled = reply.arguments().constFirst().toBool();
  return std::nullopt;
}

}  // namespace qtui
