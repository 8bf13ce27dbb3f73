// The requests the program hands the operating system, as typed values.
// text() is the exact line the command interpreter is given; a platform
// without that interpreter carries out kind(), seconds() and address().
#pragma once

#include <string>
#include <string_view>

namespace app {

enum class WindowStyle { Hidden = 0, MinimizedFocus = 2 };

class CommandLine {
 public:
  enum class Kind { ShutDown, Restart, AbortShutdown, OpenAddress };

  static CommandLine shutDownAfter(int seconds);
  static CommandLine restartAfter(int seconds);
  static CommandLine abortShutdown();
  // The address must be a plain URL (no blanks or quotes); its cmd.exe
  // metacharacters are escaped in text().
  static CommandLine openAddress(std::string address);

  Kind kind() const { return kind_; }
  int seconds() const { return seconds_; }
  const std::string& address() const { return address_; }
  std::string text() const;

  bool operator==(const CommandLine&) const = default;

 private:
  CommandLine(Kind kind, int seconds, std::string address);

  Kind kind_;
  int seconds_;
  std::string address_;
};

// Escapes text for a cmd.exe command line so that cmd.exe's own parsing
// gives it back. cmd.exe reads a line twice: first it expands %NAME%, then
// a caret makes the next character plain and is dropped, and & | < > ( )
// " ^ (and ! with delayed expansion) act. So a caret goes before each of
// those, and after each percent sign that has something after it (no
// variable name starts with a caret); that caret also covers the next
// character, which takes no second one: "^^" would be a plain caret and
// leave the character bare.
std::string escapeForCmd(std::string_view address);

// Each byte of the UTF-8 text as %XX with upper-case hex digits.
std::string percentEncode(std::string_view utf8);

}  // namespace app
