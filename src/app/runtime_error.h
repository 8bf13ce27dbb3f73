// A runtime error: what a failing property, method, conversion or
// operating-system call raises. Handlers do not catch it; the runtime
// reports it where the event entered and the program keeps running.
#pragma once

#include <stdexcept>
#include <string>

namespace app {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, std::string description);

  int number() const { return number_; }
  const std::string& description() const { return description_; }

  // The message box text the runtime shows for it.
  std::string report() const;

  static RuntimeError overflow();
  static RuntimeError divisionByZero();
  static RuntimeError typeMismatch();
  static RuntimeError fileNotFound(const std::string& path);
  static RuntimeError invalidPicture(const std::string& path);
  static RuntimeError dllNotFound(const std::string& library);
  static RuntimeError entryPointNotFound(const std::string& entry);
  static RuntimeError cannotRun(const std::string& command);
  static RuntimeError invalidCall();
  static RuntimeError internal();

 private:
  int number_;
  std::string description_;
};

// Raised by End to unwind whatever handler called it; never reported.
struct EndRequested {};

}  // namespace app
