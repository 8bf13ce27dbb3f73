#include "platform/win32/display_density.h"

#include "platform/win32/library_entry.h"

namespace win32 {

namespace {

UINT screenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

// Whether the icon group holds an image of exactly that many pixels a side
// (a group entry is 14 bytes after a 6-byte header; width 0 means 256).
bool hasImageOfSize(HINSTANCE instance, int group, int size) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(group), RT_GROUP_ICON);
  HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  if (loaded == nullptr)
    return false;
  const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
  const DWORD length = SizeofResource(instance, found);
  const DWORD count = length >= 6 ? static_cast<DWORD>(bytes[4] | bytes[5] << 8) : 0;
  for (DWORD i = 0; i < count && 6 + 14 * (i + 1) <= length; ++i) {
    const BYTE* entry = bytes + 6 + 14 * i;
    if ((entry[0] != 0 ? entry[0] : 256) == size && (entry[1] != 0 ? entry[1] : 256) == size)
      return true;
  }
  return false;
}

}  // namespace

UINT dpiOf(HWND hwnd) {
  static const auto forWindow = libraryEntry<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = forWindow != nullptr ? forWindow(hwnd) : 0;
  return dpi != 0 ? dpi : systemDpi();
}

UINT systemDpi() {
  static const auto forSystem = libraryEntry<UINT(WINAPI*)()>(L"user32.dll", "GetDpiForSystem");
  const UINT dpi = forSystem != nullptr ? forSystem() : 0;
  return dpi != 0 ? dpi : screenDpi();
}

int systemMetric(int index, UINT dpi) {
  static const auto forDpi =
      libraryEntry<int(WINAPI*)(int, UINT)>(L"user32.dll", "GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(index, dpi) : GetSystemMetrics(index);
}

RECT outerRect(int width, int height, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
  static const auto forDpi = libraryEntry<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
      L"user32.dll", "AdjustWindowRectExForDpi");
  RECT r{0, 0, width, height};
  if (forDpi == nullptr || !forDpi(&r, style, menu, exStyle, dpi))
    AdjustWindowRectEx(&r, style, menu, exStyle);
  return r;
}

// An image of the size asked for is loaded as it is; only a size the group
// lacks needs the common controls' scaling down. Loading that library
// costs start-up time, so it waits until such a size is asked for.
HICON loadIcon(int group, int size) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = nullptr;
  if (!hasImageOfSize(instance, group, size)) {
    static const auto scaleDown =
        libraryEntry<HRESULT(WINAPI*)(HINSTANCE, const wchar_t*, int, int, HICON*)>(
            L"comctl32.dll", "LoadIconWithScaleDown");
    if (scaleDown != nullptr &&
        SUCCEEDED(scaleDown(instance, MAKEINTRESOURCEW(group), size, size, &icon)))
      return icon;
  }
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(group), IMAGE_ICON, size, size, 0));
}

}  // namespace win32
