// systemd-logind's scheduled shutdown, on the system bus. A call returns at
// once and logind's answer arrives later on the event loop: the window never
// waits for it. Requests let polkit ask the user for a password, so an
// answer may take as long as the user does; they go out one at a time, in
// the order made, so a cancel made while a shutdown request waits for a
// password reaches logind after it.
#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

namespace qtui {

struct LogindAnswer {
  // Why logind did not do it, in the user's words; nothing when it did.
  std::optional<QString> failure;
  bool cancelled = false;  // CancelScheduledShutdown: a shutdown was pending
};

class LogindClient {
 public:
  using Done = std::function<void(const LogindAnswer&)>;

  // Time enough to type a password into the polkit agent's dialog.
  static constexpr std::chrono::milliseconds kReplyTimeout = std::chrono::minutes(5);

  explicit LogindClient(std::chrono::milliseconds replyTimeout = kReplyTimeout)
      : replyTimeout_(replyTimeout) {}

  // type is "poweroff" or "reboot".
  void scheduleShutdown(const QString& type, std::chrono::system_clock::time_point at, Done done);
  void cancelScheduledShutdown(Done done);

 private:
  void call(QDBusMessage message, Done done);
  void sendFirst();

  std::chrono::milliseconds replyTimeout_;
  std::deque<std::pair<QDBusMessage, Done>> queue_;  // the first one is out
  QObject pending_;  // parent of the calls still waiting; they go with the client
};

}  // namespace qtui
