#include "app/picture_header.h"

#include <algorithm>

namespace app {

void JpegEndFinder::feed(std::span<const unsigned char> piece) {
  constexpr unsigned char kStart[] = {0xFF, 0xD8, 0xFF};
  constexpr unsigned kStartOfScan = 0xDA, kEnd = 0xD9;
  const auto isRestart = [](unsigned code) { return code >= 0xD0 && code <= 0xD7; };
  const auto isFrame = [](unsigned code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
  };
  for (std::size_t i = 0; i < piece.size() && !decided(); ++i) {
    const unsigned byte = piece[i];
    switch (state_) {
      case State::Start:
        if (byte != kStart[offset_])
          state_ = State::NotJpeg;
        else if (++offset_ == std::size(kStart))
          state_ = State::Code;
        break;
      case State::Marker:  // bytes before a marker's FF are stray: skipped
        if (byte == 0xFF)
          state_ = State::Code;
        break;
      case State::Code:
        if (byte == kEnd)
          state_ = scanned_ ? State::Whole : State::Marker;
        else if (byte != 0xFF && byte != 0x00 && byte != 0x01 && byte != 0xD8 && !isRestart(byte)) {
          code_ = byte;
          state_ = State::LengthHigh;
        } else if (byte != 0xFF) {
          state_ = State::Marker;  // a marker without a segment
        }
        break;
      case State::LengthHigh:
        remaining_ = byte << 8;
        state_ = State::LengthLow;
        break;
      case State::LengthLow:
        remaining_ = (remaining_ | byte) < 2 ? 0 : (remaining_ | byte) - 2;
        state_ = State::Segment;
        frameRead_ = 0;
        break;
      case State::Segment: {
        if (isFrame(code_) && frameRead_ < std::size(frame_)) {
          frame_[frameRead_++] = static_cast<unsigned char>(byte);
          --remaining_;
          if (frameRead_ == std::size(frame_)) {
            const int height = frame_[1] << 8 | frame_[2], width = frame_[3] << 8 | frame_[4];
            frameSize_ = PictureSize{std::max(width, frameSize_ ? frameSize_->width : 0),
                                     std::max(height, frameSize_ ? frameSize_->height : 0)};
          }
          break;
        }
        const std::size_t skipped = std::min(remaining_, piece.size() - i);
        remaining_ -= skipped;
        i += skipped - 1;
        break;
      }
      case State::Coded: {
        const auto* ff = std::find(piece.data() + i, piece.data() + piece.size(), 0xFF);
        i = static_cast<std::size_t>(ff - piece.data());
        if (i < piece.size())
          state_ = State::CodedMarker;
        break;
      }
      case State::CodedMarker:  // FF 00 is a coded FF; restarts go on coding
        if (byte == kEnd)
          state_ = State::Whole;
        else if (byte == 0 || isRestart(byte))
          state_ = State::Coded;
        else if (byte != 0xFF) {
          code_ = byte;
          state_ = State::LengthHigh;
        }
        break;
      case State::Whole:
      case State::NotJpeg:
        break;
    }
    // A segment read to its end: a scan's coded data follows its header.
    if (state_ == State::Segment && remaining_ == 0) {
      scanned_ = scanned_ || code_ == kStartOfScan;
      state_ = code_ == kStartOfScan ? State::Coded : State::Marker;
    }
  }
}

bool JpegEndFinder::cutOff() const {
  return state_ != State::Start && !decided();
}

}  // namespace app
