// Carries out the program's operating-system requests. Raises a
// RuntimeError when the request cannot be made or the system refuses it.
#pragma once

#include "app/command_line.h"

namespace qtui {

class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  virtual void run(const app::CommandLine& command) = 0;
};

}  // namespace qtui
