// systemd-logind's scheduled shutdown, on the system bus.
#pragma once

#include <QString>
#include <chrono>
#include <optional>

namespace qtui {

class LogindClient {
 public:
  // What went wrong, or nothing when logind accepted the request.
  using Failure = std::optional<QString>;

  // type is "poweroff" or "reboot".
  Failure scheduleShutdown(const QString& type, std::chrono::system_clock::time_point at);
  // cancelled tells whether a shutdown was pending.
  Failure cancelScheduledShutdown(bool& cancelled);

 private:
  static constexpr int kTimeoutMs = 3000;  // logind answers at once; never hang the window
};

}  // namespace qtui
