// What a JPEG's bytes say before any decoder sees them: whether the file is
// whole, and the size every frame header claims (some decoders allocate the
// whole picture as they open it, so a giant must be refused first).
#pragma once

#include <optional>
#include <span>

#include "app/picture_orientation.h"

namespace app {

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
  // The largest width and the largest height of all frame headers read so
  // far, wherever in the file they lie; nothing before one was read whole.
  std::optional<PictureSize> frameSize() const { return frameSize_; }

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
  unsigned char frame_[5]{};   // precision, height, width of a frame header
  std::size_t frameRead_ = 0;
  std::optional<PictureSize> frameSize_;
};

}  // namespace app
