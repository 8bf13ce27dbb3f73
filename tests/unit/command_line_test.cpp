#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/runtime_error.h"
#include "forms/main.h"

namespace {

using app::CommandLine;

TEST(CommandLine, ExactTextsOfTheShutdownTool) {
  EXPECT_EQ(CommandLine::shutDownAfter(60).text(), "cmd.exe /c shutdown -s -t 60");
  EXPECT_EQ(CommandLine::shutDownAfter(18000).text(), "cmd.exe /c shutdown -s -t 18000");
  EXPECT_EQ(CommandLine::restartAfter(3).text(), "cmd.exe /c shutdown -r -t 3");
  EXPECT_EQ(CommandLine::abortShutdown().text(), "cmd.exe /c shutdown -a");
}

TEST(CommandLine, KeepsItsMeaningForPlatformsWithoutCmd) {
  auto restart = CommandLine::restartAfter(3);
  EXPECT_EQ(restart.kind(), CommandLine::Kind::Restart);
  EXPECT_EQ(restart.seconds(), 3);
  auto open = CommandLine::openAddress("http://example.org/a?b=1&c=%41");
  EXPECT_EQ(open.kind(), CommandLine::Kind::OpenAddress);
  EXPECT_EQ(open.address(), "http://example.org/a?b=1&c=%41");
}

TEST(CommandLine, AddressMustBeAPlainEncodedUrl) {
  for (const char* address : {"http://x/ a", "http://x/\"&calc", "http://x/关"})
    EXPECT_THROW(CommandLine::openAddress(address), app::RuntimeError) << address;
}

// What cmd.exe is given for each text; tests/win32 runs the same texts
// through a real cmd.exe and reads them back.
TEST(EscapeForCmd, ACaretBeforeEachMetacharacterAndAfterEachPercentSign) {
  const struct {
    const char* text;
    const char* escaped;
  } cases[] = {
      {"a&b|c<d>e^f(g)h!i", "a^&b^|c^<d^>e^^f^(g^)h^!i"},
      {"say \"hi\"", "say ^\"hi^\""},
      {"kw=%E5%85%B3", "kw=%^E5%^85%^B3"},
      {"%PATH%", "%^PATH%"},
      // The percent sign's caret covers the character after it.
      {"%&calc", "%^&calc"},
      {"%(x%)", "%^(x%^)"},
      {"%^", "%^^"},
      {"%%", "%^%"},
      {"^%", "^^%"},
      {"100%", "100%"},
      {"http://x.org/f?ie=utf-8", "http://x.org/f?ie=utf-8"},
      {"关机", "关机"},
  };
  for (const auto& c : cases) EXPECT_EQ(app::escapeForCmd(c.text), c.escaped) << c.text;
}

TEST(PercentEncode, EveryByteUpperCaseHex) {
  EXPECT_EQ(app::percentEncode("关机"), "%E5%85%B3%E6%9C%BA");
  EXPECT_EQ(app::percentEncode("a "), "%61%20");
}

}  // namespace
