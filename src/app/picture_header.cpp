#include "app/picture_header.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace app {

namespace {

using Bytes = std::span<const unsigned char>;

bool startsWith(Bytes b, std::initializer_list<unsigned char> prefix) {
  return b.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), b.begin());
}

std::uint32_t be(Bytes b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | b[at + i];
  return v;
}
std::uint32_t le(Bytes b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}

PictureSize sizeOf(std::uint32_t width, std::uint32_t height) {
  // A claim past int's range is as giant as any.
  constexpr std::uint32_t kMost = 0x7FFFFFFF;
  return {static_cast<int>(std::min(width, kMost)), static_cast<int>(std::min(height, kMost))};
}

std::optional<PictureSize> jpegSize(Bytes b) {
  std::size_t at = 2;
  while (at + 9 <= b.size() && b[at] == 0xFF) {
    const unsigned marker = b[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame)
      return sizeOf(be(b, at + 7, 2), be(b, at + 5, 2));
    if (marker == 0xDA || marker == 0xD9)
      break;
    at += 2 + be(b, at + 2, 2);
  }
  return std::nullopt;
}

std::optional<PictureSize> gifSize(Bytes b) {
  if (b.size() < 13)
    return std::nullopt;
  PictureSize size = sizeOf(le(b, 6, 2), le(b, 8, 2));
  const unsigned flags = b[10];
  std::size_t at = 13 + (flags & 0x80 ? 3u << ((flags & 7) + 1) : 0);
  // Extensions up to the first image, whose frame may be the larger.
  while (at + 10 <= b.size() && b[at] == 0x21) {
    at += 2;
    while (at < b.size() && b[at] != 0) at += b[at] + 1u;
    ++at;
  }
  if (at + 10 <= b.size() && b[at] == 0x2C)
    size = {std::max(size.width, static_cast<int>(le(b, at + 5, 2))),
            std::max(size.height, static_cast<int>(le(b, at + 7, 2)))};
  return size;
}

std::optional<PictureSize> bmpSize(Bytes b) {
  if (b.size() < 26)
    return std::nullopt;
  if (le(b, 14, 4) == 12)  // the old core header: 16-bit sides
    return sizeOf(le(b, 18, 2), le(b, 20, 2));
  const auto height = static_cast<std::int32_t>(le(b, 22, 4));
  return sizeOf(le(b, 18, 4), height < 0 ? 0u - static_cast<std::uint32_t>(height)
                                         : static_cast<std::uint32_t>(height));
}

std::optional<PictureSize> tiffSize(Bytes b) {
  const bool big = b[0] == 'M';
  auto read = [&](std::size_t at, int n) { return big ? be(b, at, n) : le(b, at, n); };
  const std::size_t directory = read(4, 4);
  // The offset comes from the file: directory + 2 could wrap round a 32-bit
  // size_t.
  if (directory >= b.size() || b.size() - directory < 2)
    return std::nullopt;
  std::optional<std::uint32_t> width, height;
  const std::uint32_t entries = read(directory, 2);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + 12 * std::size_t{i};
    if (entry + 12 > b.size())
      break;
    const std::uint32_t tag = read(entry, 2), type = read(entry + 2, 2);
    const std::uint32_t value = type == 3 ? read(entry + 8, 2) : read(entry + 8, 4);
    if (tag == 256)
      width = value;
    else if (tag == 257)
      height = value;
  }
  if (!width || !height)
    return std::nullopt;
  return sizeOf(*width, *height);
}

}  // namespace

std::optional<PictureSize> claimedSize(Bytes head) {
  if (startsWith(head, {0xFF, 0xD8}))
    return jpegSize(head);
  if (startsWith(head, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}) && head.size() >= 24)
    return sizeOf(be(head, 16, 4), be(head, 20, 4));
  if (startsWith(head, {'G', 'I', 'F', '8'}))
    return gifSize(head);
  if (startsWith(head, {'B', 'M'}))
    return bmpSize(head);
  if (startsWith(head, {'I', 'I', 42, 0}) || startsWith(head, {'M', 'M', 0, 42}))
    return head.size() >= 8 ? tiffSize(head) : std::nullopt;
  return std::nullopt;
}

void JpegEndFinder::feed(std::span<const unsigned char> piece) {
  constexpr unsigned char kStart[] = {0xFF, 0xD8, 0xFF};
  constexpr unsigned kStartOfScan = 0xDA, kEnd = 0xD9;
  const auto isRestart = [](unsigned code) { return code >= 0xD0 && code <= 0xD7; };
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
        break;
      case State::Segment: {
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
