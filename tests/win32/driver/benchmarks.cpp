// Figures for bench/win32/run.sh; these print and assert nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "scenarios.h"
// After <windows.h>, which scenarios.h brings.
#include <psapi.h>

namespace driver {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// From CreateProcess to the first visible window of the process.
double timeToFirstWindow(const std::wstring& exe, const std::wstring& log) {
  const auto start = Clock::now();
  Program program(Paths{exe, log, L""});
  while (program.started() && millisecondsSince(start) < 20000) {
    const std::vector<HWND> windows = windowsOf(program.id());
    if (std::any_of(windows.begin(), windows.end(), IsWindowVisible))
      return millisecondsSince(start);
    Sleep(1);
  }
  return -1;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double workingSetMiB(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  PROCESS_MEMORY_COUNTERS counters{sizeof(PROCESS_MEMORY_COUNTERS)};
  const BOOL read = process && GetProcessMemoryInfo(process, &counters, sizeof counters);
  if (process)
    CloseHandle(process);
  return read ? static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0) : -1;
}

}  // namespace

// Against a bare window, and against one that also makes the splash's
// load-handler calls: without SWP_NOACTIVATE, its SetWindowPos activates
// the still hidden window, which a bare window does only once shown.
void benchStartup(const Paths& paths, const std::wstring& minimal) {
  const std::wstring loaded =
      minimal.substr(0, minimal.find_last_of(L'\\') + 1) + L"load_handler_window.exe";
  constexpr int kRuns = 11;  // under Wine single runs spread by half their time either way
  for (const auto& [yardstick, name] : {std::pair{minimal, "minimal Win32 window:"},
                                        std::pair{loaded, "with the splash's calls:"}}) {
    std::vector<double> program, baseline;
    for (int i = 0; i < kRuns; ++i) {
      baseline.push_back(timeToFirstWindow(yardstick, paths.log));
      program.push_back(timeToFirstWindow(paths.exe, paths.log));
    }
    for (const auto& [runs, label] :
         {std::pair{program, "start-up to splash shown:"}, std::pair{baseline, name}}) {
      const auto [low, high] = std::minmax_element(runs.begin(), runs.end());
      std::printf("%-25s %.1f ms (median of %d, runs %.1f to %.1f)\n", label, median(runs), kRuns,
                  *low, *high);
    }
    std::printf("%-25s %.2f\n", yardstick == minimal ? "ratio:" : "ratio to it:",
                median(program) / median(baseline));
  }
}

void benchCountdown(const Paths& paths, const Program&, HWND main, const std::wstring& count) {
  const int seconds = _wtoi(count.c_str());
  HWND text1 = findControl(main, L"Edit", L"60");
  click(findControl(main, L"Button", L"关机"));
  type(text1, std::to_wstring(seconds));
  Sleep(200);
  const auto pressed = Clock::now();
  click(findControl(main, L"Button", L"开始计时"));
  // Sleep until shortly before the end, then watch the count closely.
  Sleep(static_cast<DWORD>(seconds * 1000 - 500));
  double zeroAt = -1;
  while (zeroAt < 0 && millisecondsSince(pressed) < seconds * 1000.0 + 2000) {
    if (textOf(text1) == L"0")
      zeroAt = millisecondsSince(pressed);
    Sleep(1);
  }
  const double loggedAt = waitLog(paths.log, 1, 3000).empty() ? -1 : millisecondsSince(pressed);
  std::printf("countdown of %d s: count reached 0 after %.1f ms (late by %.1f ms)\n", seconds,
              zeroAt, zeroAt - seconds * 1000.0);
  std::printf("countdown of %d s: shutdown line recorded by %.1f ms\n", seconds, loggedAt);
}

// Working set with main's built-in picture, after a small skin has been
// chosen once (the chooser, its notice and the decoder have then been
// made), and after the photo is chosen as 天空.jpg: only the part main
// shows should stay in memory.
void benchMemory(const Paths& paths, const Program& program, HWND main, const std::wstring& photo) {
  const auto settled = [&] {
    Sleep(1000);
    return workingSetMiB(program.id());
  };
  const double idle = settled();
  chooseSkin(paths, program.id(), main, L"大海主题", L"");
  const double warm = settled();
  CopyFileW(photo.c_str(), (paths.folder() + L"\\天空.jpg").c_str(), FALSE);
  chooseSkin(paths, program.id(), main, L"天空主题", L"");
  const double skinned = settled();
  std::printf("working set, built-in picture: %.1f MiB\n", idle);
  std::printf("working set, a small skin:     %.1f MiB\n", warm);
  std::printf("working set, photo skin:       %.1f MiB\n", skinned);
}

}  // namespace driver
