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
// fail, so a JPEG is whole only when an end-of-image marker closes the
// coded data of a scan. Fed the file's bytes in order, in pieces of any
// size, so a file need not be held whole. Segments are skipped by their
// lengths: an end marker inside one (an EXIF thumbnail's) does not count.
class JpegEndFinder {
 public:
  void feed(std::span<const unsigned char> piece);
  // The bytes fed so far start a JPEG whose end has not come; false for
  // bytes that are no JPEG.
  bool cutOff() const;
  // Nothing more fed can change the answer.
  bool decided() const { return state_ == State::Whole || state_ == State::NotJpeg; }

 private:
  enum class State {
    Start,
    Marker,
    Code,
    LengthHigh,
    LengthLow,
    Segment,
    Coded,
    CodedMarker,
    Whole,
    NotJpeg
  };
  State state_ = State::Start;
  std::size_t offset_ = 0;     // bytes fed while in Start
  unsigned code_ = 0;          // the marker whose segment is read
  std::size_t remaining_ = 0;  // of that segment
  bool scanned_ = false;       // a scan has begun
};

}  // namespace app
