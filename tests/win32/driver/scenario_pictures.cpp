// Skins of every kind the imaging component reads, a photo turned upright
// by its EXIF tag, and files that are no picture (tests/win32/make-pictures.py
// writes them). Each in turn replaces 天空.jpg and is chosen.
#include <cstdlib>
#include <tuple>

#include "checks.h"
#include "scenarios.h"

namespace driver {

namespace {

bool looksLike(COLORREF a, COLORREF b) {
  const int tolerance = 40;  // JPEG and colour-space conversions
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::wstring hex(COLORREF c) {
  wchar_t text[16];
  swprintf(text, 16, L"%06lX", static_cast<unsigned long>(c));
  return text;
}

// Each file and the colours near the top and the bottom of the left
// margin (3,20 and 3,250), where no control covers the picture. Flat colours, each unlike
// the one before; the oriented photo is 200x300, red on top and blue below
// once upright (stored 300x200, red left, blue right: unturned, the bottom
// spot would be main's own background).
const std::tuple<const wchar_t*, COLORREF, COLORREF> kShown[] = {
    {L"baseline.jpg", RGB(255, 0, 0), RGB(255, 0, 0)},
    {L"progressive.jpg", RGB(0, 160, 0), RGB(0, 160, 0)},
    {L"cmyk.jpg", RGB(0, 0, 255), RGB(0, 0, 255)},
    {L"png.png", RGB(255, 255, 0), RGB(255, 255, 0)},
    {L"two-frames.gif", RGB(255, 0, 255), RGB(255, 0, 255)},
    {L"bmp.bmp", RGB(0, 255, 255), RGB(0, 255, 255)},
    {L"tiff.tif", RGB(255, 128, 0), RGB(255, 128, 0)},
    {L"progressive-16000.jpg", RGB(128, 0, 128), RGB(128, 0, 128)},
    {L"narrow-then-wide.tif", RGB(200, 200, 200), RGB(200, 200, 200)},
    {L"oriented.jpg", RGB(255, 0, 0), RGB(0, 0, 255)},
};

// Not pictures; an empty name stands for a folder under the skin's name.
const wchar_t* const kRefused[] = {
    // cut short, or no picture at all
    L"truncated.png", L"truncated.jpg", L"text.jpg", L"empty.jpg",
    // a side past the largest, as the decoder reads it
    L"huge.jpg", L"far-frame.gif", L"far-header.jpg", L"wide.png", L"wide.tif",
    L"wide-then-narrow.tif",
    // a folder
    L""};

}  // namespace

void pictures(const Paths& paths, const Program& program, HWND main,
              const std::wstring& pictureFolder) {
  const DWORD pid = program.id();
  const std::wstring sky = paths.folder() + L"\\天空.jpg";

  for (const auto& [file, top, bottom] : kShown) {
    REQUIRE(CopyFileW((pictureFolder + L"\\" + file).c_str(), sky.c_str(), FALSE), file);
    chooseSkin(paths, pid, main, L"天空主题", L"");
    pause(300);
    for (const auto& [y, colour] : {std::pair{20, top}, std::pair{250, bottom}}) {
      const COLORREF seen = clientPixel(main, 3, y);
      CHECK(looksLike(seen, colour),
            std::wstring(file) + L" at 3," + std::to_wstring(y) + L": " + hex(seen));
    }
  }
  screenshot(paths, main, L"main-oriented");

  for (const wchar_t* file : kRefused) {
    DeleteFileW(sky.c_str());
    if (*file != L'\0')
      REQUIRE(CopyFileW((pictureFolder + L"\\" + file).c_str(), sky.c_str(), FALSE), file);
    else
      REQUIRE(CreateDirectoryW(sky.c_str(), nullptr), L"folder named like the skin");
    chooseSkin(paths, pid, main, L"天空主题", L"天空.jpg");
    CHECK(!program.exitedWithin(0), std::wstring(L"running after ") + file);
    // main keeps the upright photo it showed before.
    CHECK(looksLike(clientPixel(main, 3, 20), RGB(255, 0, 0)), std::wstring(L"kept after ") + file);
    if (*file == L'\0')
      RemoveDirectoryW(sky.c_str());
  }
  // run-scenario.sh made 星空.jpg a named pipe (FIFO) with no writer: reading
  // it must not wait.
  chooseSkin(paths, pid, main, L"星空主题", L"星空.jpg");
  CHECK(!program.exitedWithin(0), L"running after the pipe");
}

}  // namespace driver
