// The display density (dots per inch) of a window's monitor, and what the
// system gives for it. Per-monitor densities came with Windows 10; the
// entries are looked up at run time so older systems fall back to the
// one system-wide density.
#pragma once

#include "platform/win32/windows_api.h"

namespace win32 {

inline constexpr UINT kBaseDpi = 96;

UINT dpiOf(HWND hwnd);
// The density of the primary monitor, where the notification area is.
UINT systemDpi();
int systemMetric(int index, UINT dpi);
// The outer rectangle of a window whose client area is width × height.
RECT outerRect(int width, int height, DWORD style, bool menu, DWORD exStyle, UINT dpi);
// The group's icon scaled down from its nearest larger image.
HICON loadIcon(int group, int size);

}  // namespace win32
