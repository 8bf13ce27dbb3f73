// Awkward texts escaped by the program's rule and echoed by a real cmd.exe
// (run-cmd-escaping.sh makes it Wine's own): each must come back as it
// went in.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/win32/text.h"

namespace {

// What "cmd.exe /c echo <escaped>" writes to its standard output; Wine's
// cmd.exe writes a pipe in the ANSI code page.
std::wstring echoed(const std::string& text) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &inherit, 0))
    return L"(no pipe)";
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write;
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring interpreter = std::wstring(system) + L"\\cmd.exe";
  std::wstring line = L"cmd.exe /c echo " + win32::widen(app::escapeForCmd(text));
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(interpreter.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(write);
  std::string bytes;
  char piece[4096];
  DWORD got = 0;
  while (started && ReadFile(read, piece, sizeof piece, &got, nullptr) && got > 0)
    bytes.append(piece, got);
  CloseHandle(read);
  if (!started)
    return L"(not started)";
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
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
