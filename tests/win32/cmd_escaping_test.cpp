// Awkward texts escaped by the program's rule and echoed by a real cmd.exe,
// Wine's own: each must come back as it went in.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/win32/text.h"

namespace {

// What "cmd.exe /c echo <escaped>" writes to its standard output; Wine's
// cmd.exe writes a pipe in the ANSI code page. _wpopen starts the system's
// cmd.exe, the one COMSPEC names.
std::wstring echoed(const std::string& text) {
  FILE* pipe = _wpopen((L"echo " + win32::widen(app::escapeForCmd(text))).c_str(), L"rb");
  if (pipe == nullptr)
    return L"(not started)";
  std::string bytes;
  char piece[4096];
  for (std::size_t got; (got = std::fread(piece, 1, sizeof piece, pipe)) > 0;)
    bytes.append(piece, got);
  _pclose(pipe);
  const UINT page = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetOEMCP();
  std::wstring out(bytes.size(), L'\0');
  out.resize(static_cast<std::size_t>(
      MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                          static_cast<int>(out.size()))));
  while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r')) out.pop_back();
  return out;
}

// Only names no environment defines: Wine's cmd.exe takes the carets out
// before it expands variables (Windows expands first), so there nothing
// keeps a defined %NAME% from expanding.
TEST(CmdEscaping, CmdGivesEveryTextBack) {
  const std::vector<std::string> texts{
      "a&b|c<d>e^f(g)h!i",   "%&calc",       "%(x%)",  "%^",    "%%",  "^%", "100%",
      "%NO_SUCH%x%NO_SUCH%", "kw=%E5%85%B3", "a\"b&c", "\"&\"", "^^&", "((", "关机"};
  for (const std::string& text : texts) EXPECT_EQ(echoed(text), win32::widen(text)) << text;
}

}  // namespace
