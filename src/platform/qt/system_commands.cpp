#include "platform/qt/system_commands.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>
#include <chrono>

#include "app/runtime_error.h"

namespace qtui {

QString delayText(int seconds) {
  if (seconds >= 3600 && seconds % 3600 == 0)
    return QStringLiteral("%1 小时").arg(seconds / 3600);
  if (seconds >= 60 && seconds % 60 == 0 && seconds != 60)
    return QStringLiteral("%1 分钟").arg(seconds / 60);
  return QStringLiteral("%1 秒").arg(seconds);
}

SystemCommands::SystemCommands(std::chrono::milliseconds replyTimeout) : logind_(replyTimeout) {
  QTimer::singleShot(0, [] {
    QDBusConnection::systemBus();
    QDBusConnection::sessionBus();
  });
}

void SystemCommands::run(const app::CommandLine& command) {
  switch (command.kind()) {
    case app::CommandLine::Kind::ShutDown:
    case app::CommandLine::Kind::Restart:
      schedule(command);
      return;
    case app::CommandLine::Kind::AbortShutdown:
      abort();
      return;
    case app::CommandLine::Kind::OpenAddress:
      open(command.address());
      return;
  }
}

void SystemCommands::schedule(const app::CommandLine& command) {
  const bool restart = command.kind() == app::CommandLine::Kind::Restart;
  const auto at = std::chrono::system_clock::now() + std::chrono::seconds(command.seconds());
  const QString what = restart ? QStringLiteral("重启") : QStringLiteral("关机");
  const QString delay = delayText(command.seconds());
  logind_.scheduleShutdown(restart ? QStringLiteral("reboot") : QStringLiteral("poweroff"), at,
                           [this, what, delay](const LogindAnswer& answer) {
                             if (answer.failure)
                               refuse(QStringLiteral("无法安排") + what, *answer.failure);
                             else
                               notifier_.notify(QStringLiteral("将在 %1后%2").arg(delay, what));
                           });
}

void SystemCommands::abort() {
  logind_.cancelScheduledShutdown([this](const LogindAnswer& answer) {
    if (answer.failure)
      refuse(QStringLiteral("无法取消关机"), *answer.failure);
    else
      notifier_.notify(answer.cancelled ? QStringLiteral("已取消关机")
                                        : QStringLiteral("没有计划中的关机可以取消"));
  });
}

void SystemCommands::open(const std::string& address) {
  if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::StrictMode)))
    throw app::RuntimeError::cannotRun("xdg-open " + address);
}

void SystemCommands::refuse(const QString& what, const QString& reason) {
  const QString text = what + QStringLiteral("：") + reason;
  notifier_.notify(text, DesktopNotifier::Urgency::Critical);
  refused(text);
}

}  // namespace qtui
