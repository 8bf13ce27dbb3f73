#include "app/picture_orientation.h"

#include <algorithm>
#include <cstring>

namespace app {

namespace {

// Reads numbers of a TIFF structure (EXIF is one) in its byte order,
// yielding 0 past the end.
class TiffReader {
 public:
  explicit TiffReader(std::span<const unsigned char> bytes)
      : bytes_(bytes), bigEndian_(bytes.size() > 1 && bytes[0] == 'M') {}

  unsigned u16(std::size_t at) const {
    // Offsets come from the file: at + 2 could wrap round a 32-bit size_t.
    if (at >= bytes_.size() || bytes_.size() - at < 2)
      return 0;
    return bigEndian_ ? bytes_[at] << 8 | bytes_[at + 1] : bytes_[at + 1] << 8 | bytes_[at];
  }
  std::size_t u32(std::size_t at) const {
    return bigEndian_ ? std::size_t{u16(at)} << 16 | u16(at + 2)
                      : std::size_t{u16(at + 2)} << 16 | u16(at);
  }

 private:
  std::span<const unsigned char> bytes_;
  bool bigEndian_;
};

constexpr unsigned kOrientationTag = 274;
constexpr unsigned kShortType = 3;

bool isTiff(std::span<const unsigned char> b) {
  static constexpr unsigned char intel[] = {'I', 'I', 42, 0}, motorola[] = {'M', 'M', 0, 42};
  return b.size() >= 8 &&
         (std::memcmp(b.data(), intel, 4) == 0 || std::memcmp(b.data(), motorola, 4) == 0);
}

// The orientation entry of the first directory (IFD0).
int tiffOrientation(std::span<const unsigned char> tiff) {
  if (!isTiff(tiff))
    return 1;
  const TiffReader r(tiff);
  const std::size_t directory = r.u32(4);
  const unsigned entries = r.u16(directory);
  for (unsigned i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + 12 * std::size_t{i};
    if (entry + 12 > tiff.size())
      break;
    if (r.u16(entry) == kOrientationTag && r.u16(entry + 2) == kShortType) {
      const unsigned value = r.u16(entry + 8);
      return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
  }
  return 1;
}

// The stored pixel that lands at (x, y) of the turned picture.
struct Point {
  int x, y;
};
Point storedPoint(PictureSize s, int orientation, int x, int y) {
  switch (orientation) {
    case 2:
      return {s.width - 1 - x, y};
    case 3:
      return {s.width - 1 - x, s.height - 1 - y};
    case 4:
      return {x, s.height - 1 - y};
    case 5:
      return {y, x};
    case 6:
      return {y, s.height - 1 - x};
    case 7:
      return {s.width - 1 - y, s.height - 1 - x};
    case 8:
      return {s.width - 1 - y, x};
    default:
      return {x, y};
  }
}

}  // namespace

int exifOrientation(std::span<const unsigned char> head) {
  if (isTiff(head))
    return tiffOrientation(head);
  if (head.size() < 4 || head[0] != 0xFF || head[1] != 0xD8)
    return 1;
  static constexpr unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0};
  // Markers up to the first scan; APP1 with "Exif" holds a TIFF structure.
  std::size_t at = 2;
  while (at + 4 <= head.size() && head[at] == 0xFF) {
    const unsigned marker = head[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9)
      break;
    const std::size_t length = std::size_t{head[at + 2]} << 8 | head[at + 3];
    if (length < 2)
      break;
    const std::size_t body = at + 4;
    if (marker == 0xE1 && length >= 8 && body + 6 <= head.size() &&
        std::memcmp(head.data() + body, exif, 6) == 0) {
      const std::size_t end = std::min(head.size(), at + 2 + length);
      return tiffOrientation(head.subspan(body + 6, end - (body + 6)));
    }
    at += 2 + length;
  }
  return 1;
}

PictureSize orientedSize(PictureSize stored, int orientation) {
  if (orientation >= 5 && orientation <= 8)
    return {stored.height, stored.width};
  return stored;
}

StoredRect storedRectOf(PictureSize stored, int orientation, PictureSize shown) {
  if (shown.width <= 0 || shown.height <= 0)
    return {0, 0, 0, 0};
  const Point a = storedPoint(stored, orientation, 0, 0);
  const Point b = storedPoint(stored, orientation, shown.width - 1, shown.height - 1);
  const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  return {left, top, std::max(a.x, b.x) - left + 1, std::max(a.y, b.y) - top + 1};
}

bool turnUpright(std::span<const std::uint32_t> rect, PictureSize stored, int orientation,
                 PictureSize shown, std::span<std::uint32_t> shownPixels) {
  const StoredRect r = storedRectOf(stored, orientation, shown);
  const auto area = [](int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  };
  if (rect.size() < area(r.width, r.height) || shownPixels.size() < area(shown.width, shown.height))
    return false;
  auto out = shownPixels.begin();
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x) {
      const Point p = storedPoint(stored, orientation, x, y);
      *out++ = rect[static_cast<std::size_t>(p.y - r.top) * r.width + (p.x - r.left)];
    }
  return true;
}

}  // namespace app
