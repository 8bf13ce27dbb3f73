// The splash, then main's window, controls, menu, focus and tab order.
#include <cstdlib>
#include <span>

#include "accessibility.h"
#include "checks.h"
#include "scenarios.h"

namespace driver {

bool centred(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int dx = (r.left + r.right) - GetSystemMetrics(SM_CXSCREEN);
  const int dy = (r.top + r.bottom) - GetSystemMetrics(SM_CYSCREEN);
  return std::abs(dx) <= 1 && std::abs(dy) <= 1;
}

void tabThrough(HWND form, std::span<const wchar_t* const> stops) {
  SetForegroundWindow(form);
  for (const wchar_t* stop : stops) {
    key(VK_TAB);
    CHECK(textOf(focusIn(form)) == stop, std::wstring(L"Tab to ") + stop);
  }
}

namespace {

// A click on the banner, as a user's mouse gives it, changes nothing: the
// splash stays where it is, and nothing else opens.
void clickSplash(DWORD pid, HWND splash) {
  RECT before{}, after{};
  GetWindowRect(splash, &before);
  clickAt({(before.left + before.right) / 2, (before.top + before.bottom) / 2});
  pause(100);
  GetWindowRect(splash, &after);
  int shown = 0;
  for (HWND hwnd : windowsOf(pid)) shown += IsWindowVisible(hwnd) ? 1 : 0;
  CHECK(IsWindowVisible(splash) && EqualRect(&before, &after) && shown == 1,
        L"a click on the splash changes nothing");
}

// While the program is held.
void checkSplash(HWND splash, const Paths& paths, const Held&) {
  const LONG style = GetWindowLongW(splash, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(splash, GWL_EXSTYLE);
  const LONG tool = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_LAYERED;
  CHECK((style & (WS_POPUP | WS_CAPTION | WS_SYSMENU)) == WS_POPUP && (exStyle & tool) == tool,
        L"borderless, topmost and layered, without a taskbar button");
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  CHECK(GetLayeredWindowAttributes(splash, &key, &alpha, &flags) && key == RGB(88, 88, 88) &&
            flags == LWA_COLORKEY,
        L"colour key 88,88,88");
  CHECK(centred(splash), L"splash centred");
  // Its labels are the program's own: the common controls wait for main.
  DWORD pid = 0;
  GetWindowThreadProcessId(splash, &pid);
  CHECK(!hasModule(pid, L"comctl32.dll"), L"comctl32 not loaded for the splash");
  screenshot(paths, splash, L"splash");
}

// The keyboard as in a dialog. Frames and labels take no focus and an
// option group is one stop (its checked option, else its first): Tab goes
// Text1, Command1, Option1, Command2 ... Command9 and round again. Arrows
// move in the group and select, Space presses; Tab alone selects nothing.
void checkKeyboard(HWND main) {
  const wchar_t* order[] = {L"开始计时",         L"关机",       L"六十秒关机",
                            L"1小时关机",        L"3小时关机",  L"最小化到任务栏",
                            L"取消快捷按钮关机", L"30分钟关机", L"2小时关机",
                            L"5小时关机",        L"60"};
  tabThrough(main, order);
  HWND shutDown = findControl(main, L"Button", L"关机");
  HWND restart = findControl(main, L"Button", L"重启");
  key(VK_TAB);
  key(VK_TAB);
  CHECK(focusIn(main) == shutDown && !checked(shutDown), L"Tab to 关机 selects nothing");
  key(VK_DOWN);
  CHECK(focusIn(main) == restart && checked(restart) && !checked(shutDown), L"Down selects 重启");
  key(VK_TAB);
  key(VK_TAB, true);
  CHECK(focusIn(main) == restart, L"Shift+Tab back to the checked 重启");
  key(VK_UP);
  CHECK(focusIn(main) == shutDown && checked(shutDown) && !checked(restart), L"Up selects 关机");
  key(VK_TAB, true);
  CHECK(textOf(focusIn(main)) == L"开始计时", L"Shift+Tab to 开始计时");
  // Space starts the countdown: Text1 counts down from 60.
  key(VK_SPACE);
  CHECK(waitUntil(3000, [&] { return findControl(main, L"Edit", L"59") != nullptr; }),
        L"Space on 开始计时 starts the countdown");
}
}  // namespace

void startupAndLayout(const Paths& paths) {
  Program program(paths);
  REQUIRE(program.started(), paths.exe);
  HWND splash = waitForm(program.id(), kSplash.caption, 10000);
  REQUIRE(splash != nullptr, L"splash shown");
  pause(200);
  // A screen reader is answered by the program itself: not while held.
  checkHeard(splash, kSplash);
  clickSplash(program.id(), splash);
  checkSplash(splash, paths, hold(program));

  HWND main = waitForm(program.id(), kMain.caption, 5000);
  REQUIRE(main != nullptr, L"main shown after the splash");
  CHECK(waitGone(splash, 2000), L"splash gone");
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  CHECK((style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) ==
                (WS_CAPTION | WS_SYSMENU) &&
            !(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOOLWINDOW),
        L"fixed, with caption, system menu and taskbar button, no min/max box");
  CHECK(centred(main), L"main centred");
  // The menu's items live in the program's process; their captions show in
  // the screenshot, and the menus scenario works each of them.
  CHECK(GetMenu(main) != nullptr, L"main has a menu bar");

  checkHeard(main, kMain, L"60");
  CHECK(!checked(findControl(main, L"Button", L"关机")), L"Option1 not selected");
  CHECK(!checked(findControl(main, L"Button", L"重启")), L"Option2 not selected");
  CHECK(focusIn(main) == findControl(main, L"Edit", L"60"), L"focus in Text1");
  screenshot(paths, main, L"main");
  checkKeyboard(main);

  // The session may always end; the request starts the close sequence.
  CHECK(ask(main, WM_QUERYENDSESSION, 0, 0, 5000) == TRUE, L"the session is allowed to end");
  CHECK(program.exitedWithin(10000), L"ending the session ends the program");
}

}  // namespace driver
