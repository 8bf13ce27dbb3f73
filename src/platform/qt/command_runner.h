// Carries out the program's operating-system requests. A request starts
// and run() returns at once; what the system answers comes later. A
// request that cannot be started at all raises a RuntimeError in run();
// one the system refuses, or never answers, goes to the refusal report.
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "app/command_line.h"

namespace qtui {

class CommandRunner {
 public:
  using RefusalReport = std::function<void(const QString& text)>;

  virtual ~CommandRunner() = default;
  virtual void run(const app::CommandLine& command) = 0;

  void onRefused(RefusalReport report) { report_ = std::move(report); }

 protected:
  void refused(const QString& text) const {
    if (report_)
      report_(text);
  }

 private:
  RefusalReport report_;
};

}  // namespace qtui
