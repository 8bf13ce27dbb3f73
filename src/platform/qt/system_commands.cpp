#include "platform/qt/system_commands.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QTimer>
#include <QUrl>
#include <chrono>

#include "app/runtime_error.h"

namespace qtui {

namespace {

// Raised after the failure was announced, so the runtime's box shows too.
[[noreturn]] void refused(const QString& reason) {
  throw app::RuntimeError::permissionDenied(reason.toStdString());
}

}  // namespace

QString delayText(int seconds) {
  if (seconds >= 3600 && seconds % 3600 == 0)
    return QStringLiteral("%1 小时").arg(seconds / 3600);
  if (seconds >= 60 && seconds % 60 == 0 && seconds != 60)
    return QStringLiteral("%1 分钟").arg(seconds / 60);
  return QStringLiteral("%1 秒").arg(seconds);
}

SystemCommands::SystemCommands() {
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
  if (auto failure = logind_.scheduleShutdown(
          restart ? QStringLiteral("reboot") : QStringLiteral("poweroff"), at)) {
    notifier_.notify(QStringLiteral("无法安排%1：%2").arg(what, *failure));
    refused(*failure);
  }
  notifier_.notify(QStringLiteral("将在 %1后%2").arg(delayText(command.seconds()), what));
}

void SystemCommands::abort() {
  bool cancelled = false;
  if (auto failure = logind_.cancelScheduledShutdown(cancelled)) {
    notifier_.notify(QStringLiteral("无法取消关机：%1").arg(*failure));
    refused(*failure);
  }
  notifier_.notify(cancelled ? QStringLiteral("已取消关机")
                             : QStringLiteral("没有计划中的关机可以取消"));
}

void SystemCommands::open(const std::string& address) {
  if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::StrictMode)))
    throw app::RuntimeError::cannotRun("xdg-open " + address);
}

}  // namespace qtui
