#include "app/command_line.h"

#include <utility>

#include "app/runtime_error.h"

namespace app {

CommandLine::CommandLine(Kind kind, int seconds, std::string address)
    : kind_(kind), seconds_(seconds), address_(std::move(address)) {}

CommandLine CommandLine::shutDownAfter(int seconds) {
  return {Kind::ShutDown, seconds, {}};
}
CommandLine CommandLine::restartAfter(int seconds) {
  return {Kind::Restart, seconds, {}};
}
CommandLine CommandLine::abortShutdown() {
  return {Kind::AbortShutdown, 0, {}};
}

CommandLine CommandLine::openAddress(std::string address) {
  for (unsigned char c : address) {
    if (c <= ' ' || c == '"' || c >= 0x7F)
      throw RuntimeError::invalidCall();  // an address must be a plain, encoded URL
  }
  return {Kind::OpenAddress, 0, std::move(address)};
}

std::string CommandLine::text() const {
  switch (kind_) {
    case Kind::ShutDown:
      return "cmd.exe /c shutdown -s -t " + std::to_string(seconds_);
    case Kind::Restart:
      return "cmd.exe /c shutdown -r -t " + std::to_string(seconds_);
    case Kind::AbortShutdown:
      return "cmd.exe /c shutdown -a";
    case Kind::OpenAddress:
      return "cmd.exe /c start " + escapeForCmd(address_);
  }
  return {};
}

std::string escapeForCmd(std::string_view text) {
  constexpr std::string_view kActedOn = "&|<>()^\"!";
  std::string out;
  bool covered = false;  // by the caret just written
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%') {
      // Read before any caret counts: its caret goes after it, where it
      // also keeps the next character plain.
      out += c;
      covered = i + 1 < text.size();
      if (covered)
        out += '^';
      continue;
    }
    if (!covered && kActedOn.find(c) != std::string_view::npos)
      out += '^';
    out += c;
    covered = false;
  }
  return out;
}

std::string percentEncode(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : utf8) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0xF];
  }
  return out;
}

}  // namespace app
