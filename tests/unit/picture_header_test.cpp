// What a JPEG's bytes say before any decoder runs: whether it is whole, and
// the size its frame headers claim.
#include "app/picture_header.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// SOI, then segments of the given codes and bodies (lengths added).
Bytes jpeg(std::initializer_list<std::pair<unsigned char, Bytes>> segments) {
  Bytes out{0xFF, 0xD8};
  for (const auto& [code, body] : segments) {
    const std::size_t length = body.size() + 2;
    out.insert(out.end(), {0xFF, code, static_cast<unsigned char>(length >> 8),
                           static_cast<unsigned char>(length & 0xFF)});
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

std::optional<std::pair<int, int>> sides(std::optional<app::PictureSize> size) {
  if (!size)
    return std::nullopt;
  return std::pair{size->width, size->height};
}

TEST(JpegFrameSize, TheLargestSidesOfEveryFrameHeaderWhereverItLies) {
  const Bytes comment(65000, 'x');  // five of them end past 256 KiB
  struct Case {
    const char* what;
    Bytes file;
    std::optional<app::PictureSize> size;
  } cases[] = {
      // Precision 8, height, width (big-endian), then components.
      {"baseline", jpeg({{0xE0, {0, 0}}, {0xC0, {8, 0xEA, 0x60, 0xEA, 0x60, 3}}}),
       app::PictureSize{60000, 60000}},
      {"progressive", jpeg({{0xC2, {8, 0x01, 0x12, 0x02, 0x80, 3}}}), app::PictureSize{640, 274}},
      {"behind 325 KB of comments",
       jpeg({{0xFE, comment},
             {0xFE, comment},
             {0xFE, comment},
             {0xFE, comment},
             {0xFE, comment},
             {0xC0, {8, 0, 16, 0x4E, 0x20, 3}}}),
       app::PictureSize{20000, 16}},
      {"two frame headers", jpeg({{0xC0, {8, 0, 16, 0, 16, 3}}, {0xC1, {8, 0x4E, 0x20, 0, 8, 3}}}),
       app::PictureSize{16, 20000}},
      {"a thumbnail's frame header inside APP1 is no frame",
       jpeg({{0xE1, {0xFF, 0xC0, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF, 3}},
             {0xC0, {8, 0, 10, 0, 20, 3}}}),
       app::PictureSize{20, 10}},
      {"a frame header cut short", jpeg({{0xC0, {8, 0xEA, 0x60}}}), std::nullopt},
      {"no frame header", jpeg({{0xE0, {0, 0}}, {0xDB, {0, 1, 2}}}), std::nullopt},
      {"no JPEG", {'G', 'I', 'F', '8', '9', 'a', 0x20, 0x4E, 0x20, 0x4E}, std::nullopt},
  };
  for (const Case& c : cases) {
    app::JpegEndFinder whole, byByte;
    whole.feed(c.file);
    for (unsigned char byte : c.file) byByte.feed({&byte, 1});
    for (const auto* walk : {&whole, &byByte}) {
      EXPECT_EQ(sides(walk->frameSize()), sides(c.size)) << c.what;
    }
  }
}

// SOI, an APP1 holding a thumbnail's own SOI..EOI, a fill byte, then the
// scan: its header, coded data with a stuffed FF 00 and a restart, and EOI.
const Bytes kWholeJpeg{0xFF, 0xD8, 0xFF, 0xE1, 0,    6, 0xFF, 0xD8, 0xFF, 0xD9, 0xFF, 0xFF,
                       0xDA, 0,    2,    0x12, 0xFF, 0, 0xFF, 0xD0, 0x34, 0xFF, 0xD9};
// Progressive: a comment holding FF D9 between the first and second scans.
const Bytes kTwoScans{0xFF, 0xD8, 0xFF, 0xDA, 0,    2, 0x12, 0xFF, 0xFE, 0,
                      4,    0xFF, 0xD9, 0xFF, 0xDA, 0, 2,    0x56, 0xFF, 0xD9};

TEST(CutOffJpeg, OnlyAnEndMarkerClosingCodedDataMakesAJpegWhole) {
  const auto cut = [](const Bytes& file, std::size_t size) {
    return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
  };
  Bytes trailing = kWholeJpeg;
  trailing.insert(trailing.end(), {0x00, 0x11, 0x22});
  struct Case {
    const char* what;
    Bytes file;
    bool cutOff;
  } cases[] = {
      {"whole", kWholeJpeg, false},
      {"whole, with bytes after its end", trailing, false},
      {"cut in the coded data, after the thumbnail's end marker", cut(kWholeJpeg, 21), true},
      {"cut after the coded data's last FF", cut(kWholeJpeg, 22), true},
      {"cut inside the APP1 segment", cut(kWholeJpeg, 9), true},
      {"only the start of image", cut(kWholeJpeg, 3), true},
      {"two scans, whole", kTwoScans, false},
      {"two scans, cut in the second after the comment's FF D9", cut(kTwoScans, 18), true},
      {"a PNG is no JPEG", {0x89, 'P', 'N', 'G', 13, 10, 26, 10}, false},
      {"nothing", {}, false},
  };
  for (const Case& c : cases) {
    app::JpegEndFinder whole, byByte;
    whole.feed(c.file);
    EXPECT_EQ(whole.cutOff(), c.cutOff) << c.what;
    // The same read in the smallest pieces.
    for (unsigned char byte : c.file) byByte.feed({&byte, 1});
    EXPECT_EQ(byByte.cutOff(), c.cutOff) << c.what << ", byte by byte";
  }
}

}  // namespace
