// What a picture's bytes say before any decoder runs: the size its header
// claims, and whether a JPEG is whole.
#include "app/picture_header.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(ClaimedSize, ReadsTheFrameHeaderOfEachKnownFormat) {
  struct Case {
    const char* what;
    Bytes head;
    int width, height;
  } cases[] = {
      // SOI, an APP0 of 4 bytes, SOF0: precision, height 60000, width 60000.
      {"jpeg",
       {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0, 0xFF, 0xC0, 0, 11, 8, 0xEA, 0x60, 0xEA, 0x60, 3},
       60000,
       60000},
      {"progressive jpeg", {0xFF, 0xD8, 0xFF, 0xC2, 0, 11, 8, 0x01, 0x12, 0x02, 0x80, 3}, 640, 274},
      {"png",
       {0x89, 'P', 'N', 'G', 13, 10, 26,   10,   0, 0, 0, 13,
        'I',  'H', 'D', 'R', 0,  0,  0x40, 0x01, 0, 0, 0, 2},
       16385,
       2},
      // Screen 10x10, no colour table, then a frame of 20000x5.
      {"gif",
       {'G', 'I',  'F', '8', '9', 'a', 10,   0,    10, 0, 0, 0,
        0,   0x2C, 0,   0,   0,   0,   0x20, 0x4E, 5,  0, 0, 0},
       20000,
       10},
      {"bmp, bottom-up",
       {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0xF4, 1, 0, 0, 0xC8, 0, 0, 0},
       500,
       200},
      {"bmp, top-down",
       {'B', 'M', 0, 0, 0, 0,    0, 0, 0, 0,    54,   0,    0,
        0,   40,  0, 0, 0, 0xF4, 1, 0, 0, 0x38, 0xFF, 0xFF, 0xFF},
       500,
       200},
      // IFD0 with ImageWidth (long) 70000 and ImageLength (short) 300.
      {"tiff",
       {'I', 'I',  42,   0, 8, 0, 0, 0, 2, 0, 0, 1, 4, 0,    1, 0, 0,
        0,   0x70, 0x11, 1, 0, 1, 1, 3, 0, 1, 0, 0, 0, 0x2C, 1, 0, 0},
       70000,
       300},
  };
  for (const Case& c : cases) {
    const auto size = app::claimedSize(c.head);
    ASSERT_TRUE(size.has_value()) << c.what;
    EXPECT_EQ(size->width, c.width) << c.what;
    EXPECT_EQ(size->height, c.height) << c.what;
  }
}

TEST(ClaimedSize, NothingForOtherBytesOrAHeaderCutShort) {
  const Bytes cases[] = {
      {},
      {'t', 'e', 'x', 't'},
      {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 0, 0},  // no frame header yet
      {0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0, 0, 0, 0},
      {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13},
      {'B', 'M', 0, 0},
      {'I', 'I', 42, 0, 8, 0, 0, 0},
      {'I', 'I', 42, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0},  // a directory far past the end
  };
  for (const Bytes& head : cases) EXPECT_FALSE(app::claimedSize(head).has_value()) << head.size();
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
