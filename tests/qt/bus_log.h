// What the program asked of dbusmock's logind and notification daemon, from
// their call logs (GetCalls).
#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariant>
#include <vector>

namespace qttest {

inline constexpr char kMock[] = "org.freedesktop.DBus.Mock";

// logind's mock by its connection's own name, also while it has given up
// org.freedesktop.login1 to be absent.
inline QDBusMessage logindMockCall(const char* method) {
  static const QString owner = [] {
    QDBusConnectionInterface* bus = QDBusConnection::systemBus().interface();
    return bus ? bus->serviceOwner("org.freedesktop.login1").value() : QString();
  }();
  return QDBusMessage::createMethodCall(owner, "/org/freedesktop/login1", kMock, method);
}

class BusLog {
 public:
  // Each call's arguments since the last clear().
  std::vector<QVariantList> calls(const char* method) const {
    const QDBusMessage reply = ask(method, "GetMethodCalls", {method});
    std::vector<QVariantList> out;
    if (reply.type() != QDBusMessage::ReplyMessage)
      return out;
    const auto log = reply.arguments().at(0).value<QDBusArgument>();
    log.beginArray();
    while (!log.atEnd()) {
      qulonglong when = 0;
      QVariantList args;
      log.beginStructure();
      log >> when >> args;
      log.endStructure();
      out.push_back(args);
    }
    log.endArray();
    return out;
  }

  void clear() const {
    for (const char* method : {"ScheduleShutdown", "Notify"}) ask(method, "ClearCalls");
  }

 private:
  // Calls the mock that logs METHOD.
  static QDBusMessage ask(const char* method, const char* mockMethod,
                          const QVariantList& args = {}) {
    const bool notes = QLatin1String(method) == "Notify";
    QDBusMessage call =
        notes ? QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                               "/org/freedesktop/Notifications", kMock, mockMethod)
              : logindMockCall(mockMethod);
    call.setArguments(args);
    return (notes ? QDBusConnection::sessionBus() : QDBusConnection::systemBus()).call(call);
  }
};

// A notification's arguments, by name.
inline QString noteBody(const QVariantList& note) {
  return note.value(4).toString();
}
inline QString noteApp(const QVariantList& note) {
  return note.value(0).toString();
}
inline int noteUrgency(const QVariantList& note) {
  return qdbus_cast<QVariantMap>(note.value(6)).value("urgency", 1).toInt();
}

}  // namespace qttest
