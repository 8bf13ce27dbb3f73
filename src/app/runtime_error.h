// A runtime error: what a failing property, method, conversion or
// operating-system call raises. Handlers do not catch it; the runtime
// reports it where the event entered and the program keeps running.
#pragma once

#include <exception>
#include <string>

namespace app {

class RuntimeError : public std::exception {
 public:
  const char* what() const noexcept override { return description_.c_str(); }
  int number() const { return number_; }
  // The runtime's Chinese description, and what failed when it names it.
  const std::string& description() const { return description_; }

  // The message box text the runtime shows for it.
  std::string report() const;

  static RuntimeError invalidCall() { return RuntimeError(5); }
  static RuntimeError overflow() { return RuntimeError(6); }
  static RuntimeError dllNotFound(const std::string& library) { return RuntimeError(48, library); }
  static RuntimeError internal() { return RuntimeError(51); }
  static RuntimeError fileNotFound(const std::string& path) { return RuntimeError(53, path); }
  static RuntimeError cannotRun(const std::string& command) { return RuntimeError(53, command); }
  static RuntimeError permissionDenied(const std::string& what) { return RuntimeError(70, what); }
  static RuntimeError notSupported() { return RuntimeError(438); }
  static RuntimeError entryPointNotFound(const std::string& entry) {
    return RuntimeError(453, entry);
  }
  static RuntimeError invalidPicture(const std::string& path) { return RuntimeError(481, path); }

 private:
  // The description comes from the one table of numbers.
  explicit RuntimeError(int number, const std::string& detail = {});

  int number_;
  std::string description_;
};

// Raised by End to unwind whatever handler called it; never reported.
struct EndRequested {};

}  // namespace app
