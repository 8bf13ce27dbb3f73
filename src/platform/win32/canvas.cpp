#include "platform/win32/canvas.h"

#include <algorithm>

namespace win32 {

namespace {
// A 32-bit DIB holds 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
std::uint32_t dibPixel(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}
}  // namespace

Canvas::Canvas(HDC like, int width, int height)
    : dc_(CreateCompatibleDC(like)), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(like, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<std::uint32_t*>(bits);
  old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void Canvas::replace(RECT area, COLORREF from, COLORREF to) {
  if (bits_ == nullptr)
    return;
  GdiFlush();
  const std::uint32_t was = dibPixel(from), becomes = dibPixel(to);
  const int right = std::min<int>(area.right, width_), bottom = std::min<int>(area.bottom, height_);
  for (int y = std::max<int>(area.top, 0); y < bottom; ++y) {
    std::uint32_t* row = bits_ + static_cast<std::ptrdiff_t>(y) * width_;
    for (int x = std::max<int>(area.left, 0); x < right; ++x)
      if ((row[x] & 0xFFFFFF) == was)
        row[x] = becomes;
  }
}

void Canvas::copyTo(HDC target) const {
  BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace win32
