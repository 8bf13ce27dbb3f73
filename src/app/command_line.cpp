#include "app/command_line.h"

#include <stdexcept>
#include <utility>

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
      throw std::invalid_argument("an address must be a plain, encoded URL");
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

std::string escapeForCmd(std::string_view address) {
  std::string out;
  for (char c : address) {
    switch (c) {
      case '&':
      case '|':
      case '<':
      case '>':
      case '^':
      case '(':
      case ')':
      case '!':
        out += '^';
        out += c;
        break;
      case '%':
        out += "%^";
        break;
      default:
        out += c;
    }
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
