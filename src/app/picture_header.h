// What a picture file's bytes say before any decoder sees them: the size
// its header claims (some decoders allocate the whole picture at once, so
// a header claiming a giant must be refused first), and whether a JPEG is
// whole.
#pragma once

#include <optional>
#include <span>

#include "app/picture_orientation.h"

namespace app {

// JPEG, PNG, GIF (the larger of screen and first frame), BMP and TIFF;
// nothing for other formats or a header cut short.
std::optional<PictureSize> claimedSize(std::span<const unsigned char> head);

// Decoders show the missing rows of a cut-off JPEG as grey rather than
// fail, so a JPEG is whole only when an end-of-image marker follows the
// start of its first scan. The segments before the scan are skipped by
// their lengths: an EXIF thumbnail's own end marker does not count. False
// for bytes that are not a JPEG.
bool isCutOffJpeg(std::span<const unsigned char> file);

}  // namespace app
