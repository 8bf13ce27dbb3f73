// Minimise to the tray, restore by the tray's double-click, a restarted
// tray host, and the close sequence that ends the process.
#include "checks.h"
#include "scenarios.h"

namespace driver {

void minimise(DWORD pid, HWND main, const std::function<void()>& whileOpen) {
  click(findControl(main, L"Button", L"最小化到任务栏"));
  expectBox(pid, L"最小化！", L"已最小化！可以双击任务栏的图标重新呼出！", 64, [&] {
    CHECK(!IsWindowVisible(main), L"main hidden behind the notice");
    if (whileOpen)
      whileOpen();
  });
}

void doubleClickTray(HWND main) {
  PostMessageW(main, WM_MOUSEMOVE, 1, WM_LBUTTONDBLCLK);
}

namespace {

// Wine's tray host keeps icons it cannot show (Xvfb has no tray): whether
// it holds main's, by changing nothing on it, which only works on an icon
// it has.
bool inTray(HWND main, DWORD message = NIM_MODIFY) {
  NOTIFYICONDATAW icon{sizeof(NOTIFYICONDATAW), main, 1};
  return Shell_NotifyIconW(message, &icon) != FALSE;
}

// A restarted host has lost every icon and tells the programs so, as
// Explorer does; main's hidden window must get its icon back.
void trayHostRestarts(DWORD pid, HWND main) {
  minimise(pid, main);
  CHECK(inTray(main, NIM_DELETE) && !inTray(main), L"the host lost the icon");
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  CHECK(waitUntil(2000, [&] { return inTray(main); }), L"the icon is back after the host restarts");
  doubleClickTray(main);
  CHECK(waitVisible(main, true, 2000), L"restored after the host restarts");
}

}  // namespace

void trayAndClose(const Paths& paths, const Program& program, HWND main, const std::wstring&) {
  for (int round = 1; round <= 2; ++round) {
    minimise(program.id(), main);
    CHECK(!IsWindowVisible(main) && inTray(main), L"hidden, round " + std::to_wstring(round));
    // Other mouse messages from the tray do nothing.
    PostMessageW(main, WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    CHECK(!waitVisible(main, true, 500), L"a single click does not restore");
    doubleClickTray(main);
    // The icon goes soon after the window shows.
    CHECK(waitVisible(main, true, 2000) && waitUntil(2000, [&] { return !inTray(main); }),
          L"restored, icon removed, round " + std::to_wstring(round));
  }
  trayHostRestarts(program.id(), main);

  RECT before{};
  GetWindowRect(main, &before);
  PostMessageW(main, WM_CLOSE, 0, 0);
  pause(300);
  RECT during{};
  if (GetWindowRect(main, &during))
    CHECK(during.right - during.left < before.right - before.left, L"the window shrinks");
  CHECK(program.exitedWithin(10000), L"the close sequence ends the process");
  CHECK(readLog(paths.log).empty(), L"closing runs no command");
}

}  // namespace driver
