// The requests carried out on a Linux desktop: shutdown and restart through
// logind, each announced with a notification once logind has answered, and
// addresses opened with the desktop's default handler. A refusal is
// announced with a critical notification and reported for the box.
#pragma once

#include <QString>
#include <chrono>

#include "platform/qt/command_runner.h"
#include "platform/qt/desktop_notifier.h"
#include "platform/qt/logind_client.h"

namespace qtui {

class SystemCommands : public CommandRunner {
 public:
  // Connects to both buses once the event loop runs, so that the first
  // request does not pay for it when its time has come.
  explicit SystemCommands(std::chrono::milliseconds replyTimeout = LogindClient::kReplyTimeout);
  void run(const app::CommandLine& command) override;

 private:
  void schedule(const app::CommandLine& command);
  void abort();
  void open(const std::string& address);
  void refuse(const QString& what, const QString& reason);

  LogindClient logind_;
  DesktopNotifier notifier_;
};

// "60 秒", "30 分钟", "2 小时": a delay as the notification says it.
QString delayText(int seconds);

}  // namespace qtui
