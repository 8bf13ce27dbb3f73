#include "platform/qt/logind_client.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QTimer>
#include <QVariant>

#include "platform/qt/dbus_failures.h"

namespace qtui {

namespace {

QDBusMessage managerCall(const QString& method) {
  return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                        QStringLiteral("/org/freedesktop/login1"),
                                        QStringLiteral("org.freedesktop.login1.Manager"), method);
}

LogindAnswer answerOf(const QDBusPendingCall& call) {
  const QDBusMessage reply = call.reply();
  if (reply.type() != QDBusMessage::ReplyMessage)
    return {failureReason(call.error())};
  LogindAnswer answer;
  if (!reply.arguments().isEmpty())
    answer.cancelled = reply.arguments().constFirst().toBool();
  return answer;
}

}  // namespace

void LogindClient::scheduleShutdown(const QString& type, std::chrono::system_clock::time_point at,
                                    Done done) {
  QDBusMessage message = managerCall(QStringLiteral("ScheduleShutdown"));
  const auto usec =
      std::chrono::duration_cast<std::chrono::microseconds>(at.time_since_epoch()).count();
  message << type << QVariant::fromValue(static_cast<qulonglong>(usec));
  call(std::move(message), std::move(done));
}

void LogindClient::cancelScheduledShutdown(Done done) {
  call(managerCall(QStringLiteral("CancelScheduledShutdown")), std::move(done));
}

void LogindClient::call(QDBusMessage message, Done done) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    // No watcher would ever report this call, so tell it here, on the next
    // turn of the event loop like any other answer.
    QTimer::singleShot(0, &pending_, [done = std::move(done), error = bus.lastError()] {
      done({noSystemBusReason(error)});
    });
    return;
  }
  message.setInteractiveAuthorizationAllowed(true);
  queue_.emplace_back(std::move(message), std::move(done));
  if (queue_.size() == 1)
    sendFirst();
}

void LogindClient::sendFirst() {
  auto* watcher = new QDBusPendingCallWatcher(
      QDBusConnection::systemBus().asyncCall(queue_.front().first,
                                             static_cast<int>(replyTimeout_.count())),
      &pending_);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &pending_, [this, watcher] {
    watcher->deleteLater();
    // The next request goes out before this answer is told: telling a
    // refusal opens a box, which must not hold the others back.
    Done done = std::move(queue_.front().second);
    queue_.pop_front();
    if (!queue_.empty())
      sendFirst();
    done(answerOf(*watcher));
  });
}

}  // namespace qtui
