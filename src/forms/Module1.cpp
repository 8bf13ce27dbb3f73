#include "forms/Module1.h"

#include "app/application.h"

namespace forms {

app::SystemEntries& Module1::bound(std::string_view library, std::string_view entry) {
  app::SystemEntries& entries = app::Application::current().platform().entries();
  if (!bound_.contains(entry)) {
    entries.bind(library, entry);
    bound_.insert(entry);
  }
  return entries;
}

void Module1::recordLastError() {
  auto& app = app::Application::current();
  app.lastDllError = app.platform().entries().lastError();
}

Long Module1::Shell_NotifyIcon(Long dwMessage, app::NotifyIconData& lpData) {
  Long result = bound("shell32.dll", "Shell_NotifyIcon").Shell_NotifyIcon(dwMessage, lpData);
  recordLastError();
  return result;
}

Long Module1::SetWindowPos(Long hWnd, Long hWndInsertAfter, Long x, Long y, Long cx, Long cy,
                           Long wFlags) {
  Long result =
      bound("user32", "SetWindowPos").SetWindowPos(hWnd, hWndInsertAfter, x, y, cx, cy, wFlags);
  recordLastError();
  return result;
}

Long Module1::GetWindowLongA(Long hWnd, Long nIndex) {
  Long result = bound("user32", "GetWindowLongA").GetWindowLongA(hWnd, nIndex);
  recordLastError();
  return result;
}

Long Module1::SetWindowLongA(Long hWnd, Long nIndex, Long dwNewLong) {
  Long result = bound("user32", "SetWindowLongA").SetWindowLongA(hWnd, nIndex, dwNewLong);
  recordLastError();
  return result;
}

Long Module1::SetLayeredWindowAttributes(Long hWnd, Long crKey, std::uint8_t bAlpha, Long dwFlags) {
  Long result = bound("user32", "SetLayeredWindowAttributes")
                    .SetLayeredWindowAttributes(hWnd, crKey, bAlpha, dwFlags);
  recordLastError();
  return result;
}

}  // namespace forms
