// The services port on Win32: windows, message boxes, commands through
// cmd.exe, pictures, the clock and one thread timer for all form timers.
#pragma once

#include "platform/win32/windows_api.h"

#include "app/platform.h"
#include "platform/win32/system_entries.h"

namespace win32 {

class Platform : public app::Platform {
 public:
  explicit Platform(HINSTANCE instance);
  ~Platform() override;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  std::unique_ptr<app::WindowPeer> createWindow(app::Form& form) override;
  void messageBox(const std::string& text, int style, const std::string& title) override;
  double run(const app::CommandLine& command, app::WindowStyle style) override;
  app::Picture loadPicture(const std::string& path) override;
  app::Picture builtinPicture(std::string_view name) override;
  std::string applicationDirectory() override;
  std::chrono::nanoseconds now() override;
  void timersChanged() override;
  void end() override;
  app::SystemEntries& entries() override { return entries_; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD);

  SystemEntries entries_;
  LARGE_INTEGER frequency_{};
};

}  // namespace win32
