#include "platform/win32/pictures.h"

#include <wincodec.h>

// The banner's GIF decoder; nothing else of the library is built in.
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "app/picture_header.h"
#include "app/picture_orientation.h"
#include "app/runtime_error.h"
#include "platform/win32/com.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/display_density.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "resource_ids.h"

namespace win32 {

BitmapPicture::BitmapPicture(HBITMAP bitmap, int width, int height)
    : bitmap_(bitmap), width_(width), height_(height) {}

BitmapPicture::~BitmapPicture() {
  DeleteObject(bitmap_);
}

app::Long BitmapPicture::handle() const {
  return toLong(bitmap_);
}

// The sizes the shell asks for at the primary monitor's density, where the
// notification area is.
IconPicture::IconPicture(int group) : IconPicture(group, systemDpi()) {}

IconPicture::IconPicture(int group, UINT dpi)
    : group_(group),
      small_(loadIcon(group, systemMetric(SM_CXSMICON, dpi))),
      large_(loadIcon(group, systemMetric(SM_CXICON, dpi))) {}

IconPicture::~IconPicture() {
  DestroyIcon(small_);
  DestroyIcon(large_);
}

app::Long IconPicture::handle() const {
  return toLong(small_);
}
int IconPicture::widthPixels() const {
  return GetSystemMetrics(SM_CXSMICON);
}
int IconPicture::heightPixels() const {
  return GetSystemMetrics(SM_CYSMICON);
}

namespace {

// Enough of a file's start to hold a camera's EXIF block.
constexpr std::size_t kHeadBytes = 256 * 1024;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE)
      CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The imaging component's factory, made once on the one user-interface
// thread (the program has no other).
IWICImagingFactory* imagingFactory() {
  static ComPtr<IWICImagingFactory> factory;
  if (!factory) {
    createInstance(CLSID_WICImagingFactory, IID_IWICImagingFactory, factory.putVoid());
  }
  return factory.get();
}

std::size_t area(int width, int height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// A top-down 32-bit bitmap of that size, and its pixels.
HBITMAP newBitmap(app::PictureSize size, std::span<std::uint32_t>& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr)
    pixels = {static_cast<std::uint32_t*>(bits), area(size.width, size.height)};
  return bitmap;
}

// The bitmap, handed to the picture that owns it from then on.
app::Picture pictureOf(GdiObject<HBITMAP>& bitmap, app::PictureSize size) {
  auto picture = std::make_shared<BitmapPicture>(bitmap.get(), size.width, size.height);
  bitmap.release();
  return picture;
}

// An upright picture's corner is copied straight into the bitmap; a turned
// one is turned from a copy of the stored pixels it comes from.
bool copyShown(IWICBitmapSource* source, app::PictureSize stored, int orientation,
               app::PictureSize shown, std::span<std::uint32_t> pixels) {
  const app::StoredRect r = app::storedRectOf(stored, orientation, shown);
  const WICRect rect{r.left, r.top, r.width, r.height};
  const auto copy = [&](std::span<std::uint32_t> into) {
    return SUCCEEDED(source->CopyPixels(&rect, static_cast<UINT>(r.width) * 4,
                                        static_cast<UINT>(into.size_bytes()),
                                        reinterpret_cast<BYTE*>(into.data())));
  };
  if (orientation == 1)
    return copy(pixels);
  std::vector<std::uint32_t> storedPixels(area(r.width, r.height));
  if (!copy(storedPixels))
    return false;
  return app::turnUpright(storedPixels, stored, orientation, shown, pixels);
}

// The part of the first frame a window can show, turned upright. Only that
// rectangle is ever copied out of the decoder, so a camera's photo costs
// no more than a small picture. Null when the bytes are no picture, or
// when the frame claims a side too large for one.
app::Picture shownPart(IWICBitmapDecoder* decoder, int orientation) {
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0, height = 0;
  if (FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
      width == 0 || height == 0 || width > app::kLargestPictureSide ||
      height > app::kLargestPictureSide)
    return nullptr;
  const app::PictureSize stored{static_cast<int>(width), static_cast<int>(height)};
  const app::PictureSize oriented = app::orientedSize(stored, orientation);
  const app::PictureSize shown{std::min(oriented.width, app::kShownPictureWidth),
                               std::min(oriented.height, app::kShownPictureHeight)};
  ComPtr<IWICFormatConverter> converter;
  std::span<std::uint32_t> pixels;
  if (FAILED(imagingFactory()->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return nullptr;
  GdiObject<HBITMAP> bitmap(newBitmap(shown, pixels));
  if (!bitmap || !copyShown(converter.get(), stored, orientation, shown, pixels))
    return nullptr;
  return pictureOf(bitmap, shown);
}

// Reads a file in pieces from where it stands, for the walks below.
class FileReader {
 public:
  explicit FileReader(HANDLE file) : file_(file) {}
  // The next byte; -1 at the end or when reading fails.
  int get() {
    if (at_ == end_ && !refill())
      return -1;
    return buffer_[at_++];
  }
  bool skip(std::size_t n) {
    while (n > end_ - at_) {
      n -= end_ - at_;
      if (!refill())
        return false;
    }
    at_ += n;
    return true;
  }
  bool read(std::span<unsigned char> into) {
    for (unsigned char& byte : into) {
      const int next = get();
      if (next < 0)
        return false;
      byte = static_cast<unsigned char>(next);
    }
    return true;
  }
  // What is left of the piece in hand, or the next piece; empty at the end.
  std::span<const unsigned char> piece() {
    if (at_ == end_)
      refill();
    std::span<const unsigned char> rest{buffer_.data() + at_, end_ - at_};
    at_ = end_;
    return rest;
  }

 private:
  bool refill() {
    DWORD read = 0;
    at_ = end_ = 0;
    if (!ReadFile(file_, buffer_.data(), static_cast<DWORD>(buffer_.size()), &read, nullptr))
      return false;
    end_ = read;
    return read > 0;
  }
  HANDLE file_;
  std::vector<unsigned char> buffer_ = std::vector<unsigned char>(64 * 1024);
  std::size_t at_ = 0, end_ = 0;
};

unsigned littleEndian16(const unsigned char* b) {
  return b[0] | b[1] << 8u;
}

// The extent of a GIF's screen and of every frame on it, offsets included.
// Wine's GIF decoder reads every frame as it opens a file, so the whole
// file is walked before; nothing when it ends before its trailer.
std::optional<app::PictureSize> gifExtent(FileReader& in) {
  unsigned char screen[13];
  if (!in.read(screen))
    return std::nullopt;
  unsigned width = littleEndian16(screen + 6), height = littleEndian16(screen + 8);
  const auto skipTable = [&](unsigned flags) {
    return (flags & 0x80) == 0 || in.skip(3u << ((flags & 7) + 1));
  };
  if (!skipTable(screen[10]))
    return std::nullopt;
  for (;;) {
    const int introducer = in.get();
    if (introducer == 0x3B)
      return app::PictureSize{static_cast<int>(width), static_cast<int>(height)};
    if (introducer == 0x2C) {
      unsigned char frame[9];  // left, top, width, height, flags
      if (!in.read(frame) || !skipTable(frame[8]))
        return std::nullopt;
      width = std::max(width, littleEndian16(frame) + littleEndian16(frame + 4));
      height = std::max(height, littleEndian16(frame + 2) + littleEndian16(frame + 6));
    } else if (introducer != 0x21) {
      return std::nullopt;
    }
    if (in.get() < 0)  // an image's code size, an extension's label
      return std::nullopt;
    for (int block = in.get(); block != 0; block = in.get())
      if (block < 0 || !in.skip(static_cast<std::size_t>(block)))
        return std::nullopt;
  }
}

bool withinLimit(std::optional<app::PictureSize> size) {
  return size && size->width <= app::kLargestPictureSide &&
         size->height <= app::kLargestPictureSide;
}

// Wine's JPEG, PNG and GIF decoders decode the whole picture as they open
// it, before its size can be asked: those must be known from the file's
// own structure first, every frame of it, or the file is no picture.
// Whether a JPEG is cut off is read on the same walk (decoders would
// show its missing rows grey). Other decoders read no pixels before the
// frame's size is asked, which shownPart checks.
bool fitsBeforeDecoding(HANDLE file, std::span<const unsigned char> head) {
  const auto starts = [&](std::string_view signature) {
    return head.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), head.begin(),
                      [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
  };
  using namespace std::string_view_literals;
  if (starts("\x89PNG\r\n\x1A\n"sv)) {
    // Its header chunk comes first.
    if (head.size() < 24 || !starts("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR"sv))
      return false;
    const auto side = [&](std::size_t at) {
      return static_cast<std::uint32_t>(head[at]) << 24 | head[at + 1] << 16 | head[at + 2] << 8 |
             head[at + 3];
    };
    return side(16) <= app::kLargestPictureSide && side(20) <= app::kLargestPictureSide;
  }
  const LARGE_INTEGER beginning{};
  if (!SetFilePointerEx(file, beginning, nullptr, FILE_BEGIN))
    return false;
  FileReader in(file);
  if (starts("GIF8"sv))
    return withinLimit(gifExtent(in));
  if (!starts("\xFF\xD8\xFF"sv))
    return true;
  app::JpegEndFinder jpeg;
  for (auto piece = in.piece(); !jpeg.decided() && !piece.empty(); piece = in.piece())
    jpeg.feed(piece);
  return !jpeg.cutOff() && withinLimit(jpeg.frameSize());
}

// A skin file's first bytes, for its EXIF orientation and the PNG header;
// empty when it cannot be read.
std::vector<unsigned char> readHead(HANDLE file) {
  std::vector<unsigned char> head(kHeadBytes);
  DWORD read = 0;
  if (!ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
    read = 0;
  head.resize(read);
  return head;
}

// The program's own pictures: their formats are known, so their
// decoders are made directly rather than found by asking every installed
// one, which takes longer than the decoding does.
app::Picture decodedByImaging(std::span<const unsigned char> bytes, const CLSID& format) {
  IWICImagingFactory* factory = imagingFactory();
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  if (factory == nullptr || FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                          static_cast<DWORD>(bytes.size()))) ||
      FAILED(createInstance(format, IID_IWICBitmapDecoder, decoder.putVoid())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)))
    return nullptr;
  return shownPart(decoder.get(), app::exifOrientation(bytes));
}

// The splash's banner, the first picture the program shows, is decoded by
// stb_image: under Wine, loading the imaging component and COM for it took
// longer than making and showing the splash's window does. The banner's
// first frame only; files chosen as skins still go to the imaging
// component, behind their size checks.
app::Picture decodedGifBanner(std::span<const unsigned char> bytes) {
  int width = 0, height = 0, channels = 0;
  const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> rgba(
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                            &channels, 4),
      stbi_image_free);
  std::span<std::uint32_t> pixels;
  GdiObject<HBITMAP> bitmap(rgba ? newBitmap({width, height}, pixels) : nullptr);
  if (!bitmap)
    return nullptr;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const stbi_uc* rgb = rgba.get() + 4 * i;
    pixels[i] = static_cast<std::uint32_t>(rgb[0]) << 16 | rgb[1] << 8u | rgb[2];
  }
  return pictureOf(bitmap, {width, height});
}

struct BuiltinBitmap {
  std::string_view name;
  int resource;
  const CLSID* format;  // none: the GIF banner
};
constexpr BuiltinBitmap kBuiltinBitmaps[] = {
    {"splash.gif", IDR_SPLASH_GIF, nullptr},
    {"main.jpg", IDR_MAIN_JPG, &CLSID_WICJpegDecoder},
    {"about.bmp", IDR_ABOUT_BMP, &CLSID_WICBmpDecoder},
};

}  // namespace

app::Picture builtinPicture(std::string_view name) {
  if (name == "app.ico")
    return std::make_shared<IconPicture>(IDI_APP);
  if (name == "form1.ico")
    return std::make_shared<IconPicture>(IDI_FORM1);
  const auto* builtin = std::find_if(std::begin(kBuiltinBitmaps), std::end(kBuiltinBitmaps),
                                     [&](const BuiltinBitmap& b) { return b.name == name; });
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = builtin != std::end(kBuiltinBitmaps)
                    ? FindResourceW(module, MAKEINTRESOURCEW(builtin->resource), RT_RCDATA)
                    : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (loaded == nullptr)
    throw app::RuntimeError::fileNotFound(std::string(name));
  const std::span<const unsigned char> bytes{
      static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
  const app::Picture picture =
      builtin->format ? decodedByImaging(bytes, *builtin->format) : decodedGifBanner(bytes);
  if (!picture)
    throw app::RuntimeError::invalidPicture(std::string(name));
  return picture;
}

app::Picture loadPictureFile(const std::string& path) {
  FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    throw app::RuntimeError::fileNotFound(path);
  // A pipe or device under the skin's name is not read: it could block.
  if (GetFileType(file.get()) != FILE_TYPE_DISK)
    throw app::RuntimeError::invalidPicture(path);
  const std::vector<unsigned char> head = readHead(file.get());
  IWICImagingFactory* factory = imagingFactory();
  const LARGE_INTEGER beginning{};
  ComPtr<IWICBitmapDecoder> decoder;
  app::Picture picture;
  if (factory != nullptr && !head.empty() && fitsBeforeDecoding(file.get(), head) &&
      SetFilePointerEx(file.get(), beginning, nullptr, FILE_BEGIN) &&
      SUCCEEDED(factory->CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(file.get()),
                                                     nullptr, WICDecodeMetadataCacheOnDemand,
                                                     decoder.put())))
    picture = shownPart(decoder.get(), app::exifOrientation(head));
  if (!picture)
    throw app::RuntimeError::invalidPicture(path);
  return picture;
}

}  // namespace win32
