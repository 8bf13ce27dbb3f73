#include "platform/win32/system_entries.h"

#include <algorithm>

#include "app/runtime_error.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace win32 {

void SystemEntries::bind(std::string_view library, std::string_view entry) {
  if (entries_.contains(entry))
    return;
  HMODULE module = LoadLibraryW(widen(library).c_str());
  if (module == nullptr)
    throw app::RuntimeError::dllNotFound(std::string(library));
  FARPROC address = GetProcAddress(module, std::string(entry).c_str());
  if (address == nullptr)
    throw app::RuntimeError::entryPointNotFound(std::string(entry));
  entries_.emplace(entry, address);
  // The tray record is handed on in its wide form, whatever it was declared as.
  if (entry == "Shell_NotifyIcon") {
    FARPROC wide = GetProcAddress(module, "Shell_NotifyIconW");
    if (wide == nullptr)
      throw app::RuntimeError::entryPointNotFound("Shell_NotifyIconW");
    entries_.emplace("Shell_NotifyIconW", wide);
  }
}

template <class F>
F SystemEntries::entry(const char* name) const {
  return reinterpret_cast<F>(reinterpret_cast<void*>(entries_.at(name)));
}

app::Long SystemEntries::SetWindowPos(app::Long hWnd, app::Long insertAfter, app::Long x,
                                      app::Long y, app::Long cx, app::Long cy, app::Long flags) {
  auto call = entry<decltype(&::SetWindowPos)>("SetWindowPos");
  return call(fromLong<HWND>(hWnd), fromLong<HWND>(insertAfter), x, y, cx, cy,
              static_cast<UINT>(flags));
}

app::Long SystemEntries::GetWindowLongA(app::Long hWnd, app::Long index) {
  auto call = entry<decltype(&::GetWindowLongA)>("GetWindowLongA");
  return call(fromLong<HWND>(hWnd), index);
}

app::Long SystemEntries::SetWindowLongA(app::Long hWnd, app::Long index, app::Long value) {
  auto call = entry<decltype(&::SetWindowLongA)>("SetWindowLongA");
  return call(fromLong<HWND>(hWnd), index, value);
}

app::Long SystemEntries::SetLayeredWindowAttributes(app::Long hWnd, app::Long colourKey,
                                                    std::uint8_t alpha, app::Long flags) {
  auto call = entry<decltype(&::SetLayeredWindowAttributes)>("SetLayeredWindowAttributes");
  return call(fromLong<HWND>(hWnd), static_cast<COLORREF>(colourKey), alpha,
              static_cast<DWORD>(flags));
}

// The declared 28-byte record keeps a string where the shell expects the
// tip's characters; build a full record instead.
app::Long SystemEntries::Shell_NotifyIcon(app::Long message, app::NotifyIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof record;
  record.hWnd = fromLong<HWND>(data.hWnd);
  record.uID = static_cast<UINT>(data.uID);
  record.uFlags = static_cast<UINT>(data.uFlags);
  record.uCallbackMessage = static_cast<UINT>(data.uCallbackMessage);
  record.hIcon = fromLong<HICON>(data.hIcon);
  std::wstring tip = widen(data.szTip);
  tip.resize(std::min(tip.size(), std::size(record.szTip) - 1));
  std::copy(tip.begin(), tip.end(), record.szTip);

  auto call = entry<decltype(&::Shell_NotifyIconW)>("Shell_NotifyIconW");
  BOOL done = call(static_cast<DWORD>(message), &record);
  if (message == NIM_ADD) {
    // Added again after the taskbar came back (below): the icon is there.
    if (!done && lastAdd_ && lastAdd_->hWnd == record.hWnd && lastAdd_->uID == record.uID)
      done = call(NIM_MODIFY, &record);
    lastAdd_ = record;
  } else if (message == NIM_DELETE) {
    lastAdd_.reset();
  }
  return done;
}

void SystemEntries::restoreTrayIcon(HWND hwnd) {
  if (!lastAdd_ || lastAdd_->hWnd != hwnd)
    return;
  auto call = entry<decltype(&::Shell_NotifyIconW)>("Shell_NotifyIconW");
  call(NIM_ADD, &*lastAdd_);
}

app::Long SystemEntries::lastError() {
  return static_cast<app::Long>(GetLastError());
}

}  // namespace win32
