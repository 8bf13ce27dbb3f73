// Quick buttons and the custom countdown, read back from the recording
// cmd.exe: the line, the window style, the interpreter's path and folder.
#include "checks.h"
#include "scenarios.h"

namespace driver {

void checkRecorded(const Recorded& r, const std::wstring& style, const std::wstring& line) {
  wchar_t system[MAX_PATH];
  const std::wstring folder(system, GetSystemDirectoryW(system, MAX_PATH));
  CHECK(r == (Recorded{style, folder, folder + L"\\cmd.exe", line}), L"recorded " + r.line());
}

void commands(const Paths& paths, const Program& program, HWND main, const std::wstring&) {
  // Each quick button and its line.
  const std::pair<const wchar_t*, const wchar_t*> quick[] = {
      {L"六十秒关机", L"cmd.exe /c shutdown -s -t 60"},
      {L"30分钟关机", L"cmd.exe /c shutdown -s -t 1800"},
      {L"1小时关机", L"cmd.exe /c shutdown -s -t 3600"},
      {L"2小时关机", L"cmd.exe /c shutdown -s -t 7200"},
      {L"3小时关机", L"cmd.exe /c shutdown -s -t 10800"},
      {L"5小时关机", L"cmd.exe /c shutdown -s -t 18000"},
      {L"取消快捷按钮关机", L"cmd.exe /c shutdown -a"},
  };
  std::size_t count = 0;
  for (const auto& [name, line] : quick) {
    HWND button = findControl(main, L"Button", name);
    CHECK(button != nullptr, name);
    click(button);
    auto lines = waitLog(paths.log, ++count);
    REQUIRE(lines.size() == count, std::wstring(L"one line for ") + name);
    checkRecorded(lines.back(), L"2", line);
  }

  HWND text1 = findControl(main, L"Edit", L"60");
  HWND start = findControl(main, L"Button", L"开始计时");
  HWND shutDown = findControl(main, L"Button", L"关机");
  HWND restart = findControl(main, L"Button", L"重启");
  REQUIRE(text1 && start && shutDown && restart, L"countdown controls");

  // No mode chosen: the start is refused and nothing runs.
  click(start);
  expectBox(program.id(), L"错误", L"请选择模式", 16);
  // Too long a number is reset to 60.
  type(text1, L"12345678");
  expectBox(program.id(), L"错误", L"输入的数字过大", 16);
  CHECK(textOf(text1) == L"60", L"reset to " + textOf(text1));

  click(shutDown);
  pause(200);
  CHECK(checked(shutDown) && !checked(restart), L"shut-down mode selected");
  type(text1, L"3");
  click(start);
  const ULONGLONG pressed = GetTickCount64();
  // The count goes on behind the minimise notice, left open meanwhile.
  std::vector<Recorded> lines;
  ULONGLONG fired = 0;
  minimise(program.id(), main, [&] {
    lines = waitLog(paths.log, count + 1, 6000);
    fired = GetTickCount64() - pressed;
  });
  REQUIRE(lines.size() == count + 1, L"the countdown fired behind the notice");
  ++count;
  doubleClickTray(main);
  CHECK(waitVisible(main, true, 2000), L"restored from the tray");
  checkRecorded(lines.back(), L"2", L"cmd.exe /c shutdown -s -t 3");
  CHECK(fired >= 2500 && fired <= 4000, L"fired after " + std::to_wstring(fired) + L" ms");
  CHECK(textOf(text1) == L"0", L"count ends at " + textOf(text1));
  CHECK(!waitMessageBox(program.id(), 1500), L"no notice, and no further line");
  CHECK(readLog(paths.log).size() == count, L"the countdown stopped");

  // Switching mode and typing 0 fires at once.
  click(restart);
  pause(200);
  CHECK(checked(restart) && !checked(shutDown), L"restart mode replaces shut-down mode");
  type(text1, L"0");
  lines = waitLog(paths.log, count + 1, 1000);
  REQUIRE(lines.size() == count + 1, L"zero fires at once");
  checkRecorded(lines.back(), L"2", L"cmd.exe /c shutdown -r -t 3");
}

}  // namespace driver
