// A picture the platform decoded: a form's background, or an icon.
#pragma once

#include <memory>

#include "app/basic_types.h"

namespace app {

// A file that claims more pixels on a side, in any frame, is not a picture;
// it is refused before it is decoded, as is one whose size cannot be known.
inline constexpr int kLargestPictureSide = 16384;
// No window shows more of a picture than this many picture pixels from its
// top-left corner (the widest client area is GY's, the highest main's), so
// a platform decodes and keeps only that much.
inline constexpr int kShownPictureWidth = 576, kShownPictureHeight = 274;

class PictureObject {
 public:
  virtual ~PictureObject() = default;
  // The handle the program may hand the operating system (an icon's
  // handle for the tray); unique among the platform's live pictures.
  virtual Long handle() const = 0;
  virtual int widthPixels() const = 0;
  virtual int heightPixels() const = 0;
};

using Picture = std::shared_ptr<const PictureObject>;

}  // namespace app
