// Window and GDI handles as the program's 32-bit values (Windows keeps
// handles within 32 bits even in 64-bit processes), and scoped owners for
// device contexts and GDI objects (COM pointers: com_ptr.h).
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdint>
#include <memory>
#include <type_traits>

#include "app/basic_types.h"

namespace win32 {

template <class H>
app::Long toLong(H handle) {
  return static_cast<app::Long>(reinterpret_cast<std::intptr_t>(handle));
}

template <class H>
H fromLong(app::Long value) {
  return reinterpret_cast<H>(static_cast<std::intptr_t>(value));
}

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class H>
using GdiObject = std::unique_ptr<std::remove_pointer_t<H>, GdiObjectDeleter>;

struct MemoryDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

struct ScreenDcReleaser {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcReleaser>;

// BeginPaint to EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
  ~PaintDc() { EndPaint(hwnd_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context until the end of the scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win32
