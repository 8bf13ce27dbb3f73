// A photo's EXIF orientation, and the shown part of a turned picture.
#include "app/picture_orientation.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/jpeg_bytes.h"

namespace {

using sim::Bytes;
using sim::operator+;
using sim::u16;

// A JPEG start: SOI, a JFIF APP0, then APP1 "Exif" with one IFD0 entry,
// and a scan's header.
Bytes jpegWithOrientation(bool bigEndian, unsigned tag, unsigned type, unsigned value) {
  const Bytes tiff =
      (bigEndian ? Bytes{'M', 'M', 0, 42, 0, 0, 0, 8} : Bytes{'I', 'I', 42, 0, 8, 0, 0, 0}) +
      u16(1, bigEndian) + u16(tag, bigEndian) + u16(type, bigEndian) +
      (bigEndian ? Bytes{0, 0, 0, 1} : Bytes{1, 0, 0, 0}) + u16(value, bigEndian) +
      Bytes{0, 0, 0, 0, 0, 0};
  return sim::jpeg({{0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}},
                    {0xE1, Bytes{'E', 'x', 'i', 'f', 0, 0} + tiff},
                    {0xDA, {}}});
}

TEST(ExifOrientation, ReadsTag274OfTheFirstDirectory) {
  struct Case {
    Bytes bytes;
    int expected;
  } cases[] = {
      {jpegWithOrientation(true, 274, 3, 6), 6},
      {jpegWithOrientation(false, 274, 3, 8), 8},
      {jpegWithOrientation(false, 274, 3, 3), 3},
      {jpegWithOrientation(true, 274, 3, 9), 1},  // no such orientation
      {jpegWithOrientation(true, 274, 3, 0), 1},  // no such orientation
      {jpegWithOrientation(true, 275, 3, 6), 1},  // another tag
      {jpegWithOrientation(true, 274, 4, 6), 1},  // not a short
      {Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0, 2}, 1},   // no APP1 before the scan
      {Bytes{'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 5, 0, 0, 0}, 5},
      {Bytes{'I', 'I', 42, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0}, 1},  // a directory far past the end
      {Bytes{'G', 'I', 'F', '8', '9', 'a'}, 1},
      {Bytes{}, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(app::exifOrientation(c.bytes), c.expected);
  // Cut anywhere, the reader stays inside the bytes and finds nothing.
  const Bytes whole = jpegWithOrientation(true, 274, 3, 6);
  for (std::size_t n = 0; n + 8 < whole.size(); ++n)
    EXPECT_EQ(app::exifOrientation(std::span(whole).first(n)), 1) << n;
}

// The shown pixels; none when they could not all be written.
std::vector<std::uint32_t> upright(const std::vector<std::uint32_t>& rect, int orientation,
                                   app::PictureSize shown) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(shown.width * shown.height));
  if (!app::turnUpright(rect, {3, 2}, orientation, shown, pixels))
    pixels.clear();
  return pixels;
}

std::vector<int> rect(app::StoredRect r) {
  return {r.left, r.top, r.width, r.height};
}

// Stored 3x2:  1 2 3
//              4 5 6
TEST(TurnUpright, EachOrientationShowsThePhotoAsTheCameraSawIt) {
  const std::vector<std::uint32_t> stored{1, 2, 3, 4, 5, 6};
  struct Case {
    int orientation;
    app::PictureSize shown;
    std::vector<std::uint32_t> expected;
  } cases[] = {
      {1, {3, 2}, {1, 2, 3, 4, 5, 6}}, {2, {3, 2}, {3, 2, 1, 6, 5, 4}},
      {3, {3, 2}, {6, 5, 4, 3, 2, 1}}, {4, {3, 2}, {4, 5, 6, 1, 2, 3}},
      {5, {2, 3}, {1, 4, 2, 5, 3, 6}}, {6, {2, 3}, {4, 1, 5, 2, 6, 3}},
      {7, {2, 3}, {6, 3, 5, 2, 4, 1}}, {8, {2, 3}, {3, 6, 2, 5, 1, 4}},
  };
  for (const Case& c : cases) {
    const app::PictureSize size = app::orientedSize({3, 2}, c.orientation);
    EXPECT_EQ(std::pair(size.width, size.height), std::pair(c.shown.width, c.shown.height));
    const app::StoredRect r = app::storedRectOf({3, 2}, c.orientation, c.shown);
    EXPECT_EQ(r.width * r.height, 6) << c.orientation;
    EXPECT_EQ(upright(stored, c.orientation, c.shown), c.expected) << c.orientation;
  }
}

TEST(TurnUpright, OnlyTheStoredPixelsOfTheShownCornerAreNeeded) {
  // Turned a quarter clockwise, the shown top row is the stored left column.
  EXPECT_EQ(rect(app::storedRectOf({3, 2}, 6, {2, 1})), (std::vector{0, 0, 1, 2}));
  EXPECT_EQ(upright({1, 4}, 6, {2, 1}), (std::vector<std::uint32_t>{4, 1}));
  // Half turned: the shown corner is the stored bottom-right one.
  EXPECT_EQ(rect(app::storedRectOf({3, 2}, 3, {2, 1})), (std::vector{1, 1, 2, 1}));
  EXPECT_EQ(upright({5, 6}, 3, {2, 1}), (std::vector<std::uint32_t>{6, 5}));
  // Too few stored pixels for the corner.
  EXPECT_TRUE(upright({5}, 3, {2, 1}).empty());
}

}  // namespace
