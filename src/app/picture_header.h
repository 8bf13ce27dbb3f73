// The size a picture file's header claims, read from its first bytes
// before any decoder sees the file: some decoders allocate the whole
// picture at once, so a header claiming a giant must be refused first.
#pragma once

#include <optional>
#include <span>

#include "app/picture_orientation.h"

namespace app {

// JPEG, PNG, GIF (the larger of screen and first frame), BMP and TIFF;
// nothing for other formats or a header cut short.
std::optional<PictureSize> claimedSize(std::span<const unsigned char> head);

}  // namespace app
