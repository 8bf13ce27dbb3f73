// Stands in for cmd.exe in the test prefix: appends how it was started to
// the file named by TAVIMO_COMMAND_LOG and does nothing else.
//
// One line per start, UTF-8, fields separated by tabs: the window style
// (or - without STARTF_USESHOWWINDOW), the current directory, the image
// path and the command line.
#include <windows.h>

#include <string>

#include "platform/win32/text.h"

int wmain() {
  wchar_t log[MAX_PATH], directory[MAX_PATH], image[MAX_PATH];
  if (GetEnvironmentVariableW(L"TAVIMO_COMMAND_LOG", log, MAX_PATH) == 0)
    return 1;
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  GetCurrentDirectoryW(MAX_PATH, directory);
  GetModuleFileNameW(nullptr, image, MAX_PATH);
  const std::wstring style = (startup.dwFlags & STARTF_USESHOWWINDOW)
                                 ? std::to_wstring(startup.wShowWindow)
                                 : std::wstring(L"-");
  const std::string line =
      win32::narrow(style + L'\t' + directory + L'\t' + image + L'\t' + GetCommandLineW()) + "\n";
  // Appended whole, while the driver may read it.
  HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool done =
      file != INVALID_HANDLE_VALUE &&
      WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return done ? 0 : 1;
}
