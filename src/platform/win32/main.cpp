// The Windows program: the form runtime on Win32 windows.
#include "platform/win32/windows_api.h"

#include "app/application.h"
#include "forms/project.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::Platform platform(instance);
  app::Application application(platform, forms::project());
  application.start();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and arrow keys move between controls as in a dialog.
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root != nullptr && IsDialogMessageW(root, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
