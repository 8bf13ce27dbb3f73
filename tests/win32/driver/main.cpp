// The end-to-end driver: runs one scenario against the program under Wine.
// Usage: driver SCENARIO EXE LOG SCREENSHOT_DIR
//          [BROWSER_RECORD | PICTURE_FOLDER | MINIMAL_EXE | SECONDS | PHOTO]
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "checks.h"
#include "platform/win32/text.h"
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
  using driver::Paths, driver::Program;
  const std::wstring scenario = argv[1], extra = argc > 5 ? argv[5] : L"";
  // Most scenarios begin at main's window, the program started for them.
  const auto atMain = [&](driver::AtMain* run) {
    return [&, run](const Paths& paths) {
      Program program(paths);
      HWND main = program.started() ? driver::waitForm(program.id(), driver::kMain.caption, 15000)
                                    : nullptr;
      REQUIRE(main != nullptr, L"main shown");
      run(paths, program, main, extra);
    };
  };
  const std::map<std::wstring, std::function<void(const Paths&)>> scenarios{
      {L"startup", driver::startupAndLayout},
      {L"commands", atMain(driver::commands)},
      {L"tray-close", atMain(driver::trayAndClose)},
      {L"menus", atMain(driver::menus)},
      {L"interpreter", atMain(driver::realInterpreter)},
      {L"pictures", atMain(driver::pictures)},
      {L"bench-memory", atMain(driver::benchMemory)},
      {L"bench-startup", [&](const Paths& p) { driver::benchStartup(p, extra); }},
      {L"bench-countdown", atMain(driver::benchCountdown)},
  };
  // The dpi-N scenarios run at N dots per inch.
  const auto run = scenario.starts_with(L"dpi-")
                       ? [&](const Paths& p) { driver::dpiLayout(p, _wtoi(scenario.c_str() + 4)); }
                   : scenarios.contains(scenario) ? scenarios.at(scenario)
                                                  : nullptr;
  if (!run) {
    std::printf("unknown scenario %s\n", win32::narrow(scenario).c_str());
    return 2;
  }
  run(Paths{argv[2], argv[3], argv[4]});
  std::printf("%s: %d failure(s)\n", win32::narrow(scenario).c_str(), driver::failures());
  return driver::failures() == 0 ? 0 : 1;
}
