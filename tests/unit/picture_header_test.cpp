// What a JPEG's bytes say before any decoder runs: whether it is whole, and
// the size its frame headers claim.
#include "app/picture_header.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

#include "support/jpeg_bytes.h"

namespace {

using sim::Bytes;
using sim::jpeg;
using sim::operator+;

std::optional<std::pair<int, int>> sides(std::optional<app::PictureSize> size) {
  if (!size)
    return std::nullopt;
  return std::pair{size->width, size->height};
}

// SOI, an APP1 holding a thumbnail's own SOI..EOI, a fill byte, then the
// scan: its header, coded data with a stuffed FF 00 and a restart, and EOI.
const Bytes kWholeJpeg{0xFF, 0xD8, 0xFF, 0xE1, 0,    6, 0xFF, 0xD8, 0xFF, 0xD9, 0xFF, 0xFF,
                       0xDA, 0,    2,    0x12, 0xFF, 0, 0xFF, 0xD0, 0x34, 0xFF, 0xD9};
// Progressive: a comment holding FF D9 between the first and second scans.
const Bytes kTwoScans{0xFF, 0xD8, 0xFF, 0xDA, 0,    2, 0x12, 0xFF, 0xFE, 0,
                      4,    0xFF, 0xD9, 0xFF, 0xDA, 0, 2,    0x56, 0xFF, 0xD9};
const Bytes kComment(65000, 'x');  // five of them end past 256 KiB

Bytes cut(const Bytes& file, std::size_t size) {
  return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
}

// A file; whether it starts a JPEG whose end has not come; the largest
// width and height of its frame headers.
struct Case {
  const char* what;
  Bytes file;
  bool cutOff;
  std::optional<std::pair<int, int>> sides;
};
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.what;
}

const Case kCases[] = {
    // Only an end marker closing coded data makes a JPEG whole.
    {"whole", kWholeJpeg, false, {}},
    {"whole, with bytes after its end", kWholeJpeg + Bytes{0x00, 0x11, 0x22}, false, {}},
    {"cut in the coded data, after the thumbnail's end marker", cut(kWholeJpeg, 21), true, {}},
    {"cut after the coded data's last FF", cut(kWholeJpeg, 22), true, {}},
    {"cut inside the APP1 segment", cut(kWholeJpeg, 9), true, {}},
    {"only the start of image", cut(kWholeJpeg, 3), true, {}},
    {"two scans, whole", kTwoScans, false, {}},
    {"two scans, cut in the second after the comment's FF D9", cut(kTwoScans, 18), true, {}},
    {"a PNG is no JPEG", {0x89, 'P', 'N', 'G', 13, 10, 26, 10}, false, {}},
    {"nothing", {}, false, {}},
    // Frame headers: precision 8, height, width (big-endian), components.
    {"baseline", jpeg({{0xE0, {0, 0}}, {0xC0, {8, 0xEA, 0x60, 0xEA, 0x60, 3}}}), true,
     std::pair{60000, 60000}},
    {"progressive", jpeg({{0xC2, {8, 0x01, 0x12, 0x02, 0x80, 3}}}), true, std::pair{640, 274}},
    {"behind 325 KB of comments",
     jpeg({{0xFE, kComment},
           {0xFE, kComment},
           {0xFE, kComment},
           {0xFE, kComment},
           {0xFE, kComment},
           {0xC0, {8, 0, 16, 0x4E, 0x20, 3}}}),
     true, std::pair{20000, 16}},
    {"two frame headers", jpeg({{0xC0, {8, 0, 16, 0, 16, 3}}, {0xC1, {8, 0x4E, 0x20, 0, 8, 3}}}),
     true, std::pair{16, 20000}},
    {"a thumbnail's frame header inside APP1 is no frame",
     jpeg(
         {{0xE1, {0xFF, 0xC0, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF, 3}}, {0xC0, {8, 0, 10, 0, 20, 3}}}),
     true, std::pair{20, 10}},
    {"a frame header cut short", jpeg({{0xC0, {8, 0xEA, 0x60}}}), true, {}},
    {"no frame header", jpeg({{0xE0, {0, 0}}, {0xDB, {0, 1, 2}}}), true, {}},
    {"no JPEG", {'G', 'I', 'F', '8', '9', 'a', 0x20, 0x4E, 0x20, 0x4E}, false, {}},
};

class JpegHeader : public ::testing::TestWithParam<Case> {};

TEST_P(JpegHeader, ReadsTheSameWholeAndInTheSmallestPieces) {
  const Case& c = GetParam();
  app::JpegEndFinder whole, byByte;
  whole.feed(c.file);
  for (unsigned char byte : c.file) byByte.feed({&byte, 1});
  for (const auto* walk : {&whole, &byByte}) {
    SCOPED_TRACE(walk == &whole ? "whole" : "byte by byte");
    EXPECT_EQ(walk->cutOff(), c.cutOff);
    EXPECT_EQ(sides(walk->frameSize()), c.sides);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, JpegHeader, ::testing::ValuesIn(kCases));

}  // namespace
