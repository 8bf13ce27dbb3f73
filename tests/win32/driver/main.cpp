// The end-to-end driver: runs one scenario against the program under Wine.
// Usage: driver SCENARIO EXE LOG SCREENSHOT_DIR
//          [BROWSER_RECORD | PICTURE_FOLDER | MINIMAL_EXE | SECONDS | PHOTO]
#include <cstdio>
#include <string>

#include "checks.h"
#include "scenarios.h"

int wmain(int argc, wchar_t** argv) {
  // Window places are read in the program's own pixels, unscaled.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // The program's own accessible objects arrive through COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (argc < 5) {
    std::puts("usage: driver SCENARIO EXE LOG SCREENSHOT_DIR [BROWSER_RECORD]");
    return 2;
  }
  const std::wstring scenario = argv[1];
  const driver::Paths paths{argv[2], argv[3], argv[4]};
  if (scenario == L"startup")
    driver::startupAndLayout(paths);
  else if (scenario == L"commands")
    driver::commands(paths);
  else if (scenario == L"tray-close")
    driver::trayAndClose(paths);
  else if (scenario == L"menus")
    driver::menus(paths);
  else if (scenario == L"interpreter" && argc > 5)
    driver::realInterpreter(paths, argv[5]);
  else if (scenario.starts_with(L"dpi-"))
    driver::dpiLayout(paths, _wtoi(scenario.c_str() + 4));
  else if (scenario == L"pictures" && argc > 5)
    driver::pictures(paths, argv[5]);
  else if (scenario == L"bench-memory" && argc > 5)
    driver::benchMemory(paths, argv[5]);
  else if (scenario == L"bench-startup" && argc > 5)
    driver::benchStartup(paths, argv[5]);
  else if (scenario == L"bench-countdown" && argc > 5)
    driver::benchCountdown(paths, _wtoi(argv[5]));
  else {
    std::printf("unknown scenario %s\n", win32::narrow(scenario).c_str());
    return 2;
  }
  std::printf("%s: %d failure(s)\n", win32::narrow(scenario).c_str(), driver::failures());
  return driver::failures() == 0 ? 0 : 1;
}
