// Stands in for cmd.exe in the test prefix: appends how it was started to
// the file named by TAVIMO_COMMAND_LOG and does nothing else.
//
// One line per start, UTF-8, fields separated by tabs: the window style
// (or - without STARTF_USESHOWWINDOW), the current directory, the image
// path and the command line.
#include <windows.h>

#include <string>

#include "platform/win32/text.h"

namespace {}  // namespace

int wmain() {
  wchar_t log[MAX_PATH];
  if (GetEnvironmentVariableW(L"TAVIMO_COMMAND_LOG", log, MAX_PATH) == 0)
    return 1;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  wchar_t directory[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, directory);
  wchar_t image[MAX_PATH];
  GetModuleFileNameW(nullptr, image, MAX_PATH);

  std::wstring line = (startup.dwFlags & STARTF_USESHOWWINDOW)
                          ? std::to_wstring(startup.wShowWindow)
                          : std::wstring(L"-");
  line += L'\t';
  line += directory;
  line += L'\t';
  line += image;
  line += L'\t';
  line += GetCommandLineW();
  const std::string bytes = win32::narrow(line) + "\n";

  HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 1;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
