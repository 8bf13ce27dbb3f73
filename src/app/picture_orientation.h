// Turning a photo upright: the orientation a camera records in its EXIF
// data (tag 274), and the part of the stored pixels a window can show once
// the picture is turned. Shared by the platforms that decode pictures.
#pragma once

#include <cstdint>
#include <span>

namespace app {

// 1 (stored as shown) to 8, as EXIF numbers them; 1 when the first bytes
// of a JPEG or TIFF file hold no orientation, or are something else.
int exifOrientation(std::span<const unsigned char> head);

struct PictureSize {
  int width, height;
};

// The picture as shown: orientations 5 to 8 swap width and height.
PictureSize orientedSize(PictureSize stored, int orientation);

struct StoredRect {
  int left, top, width, height;
};

// The stored pixels that end up in the top-left shown.width x shown.height
// of the turned picture.
StoredRect storedRectOf(PictureSize stored, int orientation, PictureSize shown);

// Writes the shown pixels, row by row, into shownPixels (shown.width x
// shown.height of them) from the pixels of storedRectOf(...), row by row;
// pixels are opaque 32-bit values. False, writing nothing, when either is
// short.
bool turnUpright(std::span<const std::uint32_t> rect, PictureSize stored, int orientation,
                 PictureSize shown, std::span<std::uint32_t> shownPixels);

}  // namespace app
