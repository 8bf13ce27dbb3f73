// An offscreen 32-bit picture of part of a window, drawn first and then
// copied to the screen in one go.
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdint>

namespace win32 {

class Canvas {
 public:
  Canvas(HDC like, int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  // Every pixel of colour `from` within area becomes `to`.
  void replace(RECT area, COLORREF from, COLORREF to);
  void copyTo(HDC target) const;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  std::uint32_t* bits_ = nullptr;
  int width_, height_;
};

}  // namespace win32
