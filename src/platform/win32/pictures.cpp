#include "platform/win32/pictures.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/picture_header.h"
#include "app/picture_orientation.h"
#include "app/runtime_error.h"
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
IconPicture::IconPicture(int group) {
  const UINT dpi = systemDpi();
  small_ = loadIcon(group, systemMetric(SM_CXSMICON, dpi));
  large_ = loadIcon(group, systemMetric(SM_CXICON, dpi));
}

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

// Enough of a file's start to hold a camera's EXIF block and the frame
// header after it.
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
// thread (the program has no other). No OLE 1 DDE window: it only costs
// start-up time.
IWICImagingFactory* imagingFactory() {
  static ComPtr<IWICImagingFactory> factory;
  if (!factory) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     factory.putVoid());
  }
  return factory.get();
}

app::Picture bitmapOf(const std::vector<std::uint32_t>& pixels, app::PictureSize size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr)
    return nullptr;
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
  return std::make_shared<BitmapPicture>(bitmap, size.width, size.height);
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
  const app::StoredRect r = app::storedRectOf(stored, orientation, shown);

  ComPtr<IWICFormatConverter> converter;
  if (FAILED(imagingFactory()->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return nullptr;
  std::vector<std::uint32_t> rect(static_cast<std::size_t>(r.width) * r.height);
  const WICRect source{r.left, r.top, r.width, r.height};
  if (FAILED(converter->CopyPixels(&source, static_cast<UINT>(r.width) * 4,
                                   static_cast<UINT>(rect.size() * 4),
                                   reinterpret_cast<BYTE*>(rect.data()))))
    return nullptr;
  return bitmapOf(app::turnUpright(rect, stored, orientation, shown), shown);
}

// Refused before a decoder sees the bytes: some decoders allocate the
// whole picture as they open it.
bool claimsTooMuch(std::span<const unsigned char> head) {
  const auto size = app::claimedSize(head);
  return size &&
         (size->width > app::kLargestPictureSide || size->height > app::kLargestPictureSide);
}

}  // namespace

app::Picture loadPictureFile(const std::string& path) {
  FileHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    throw app::RuntimeError::fileNotFound(path);
  // A pipe or device under the skin's name is not read: it could block.
  if (GetFileType(file.get()) != FILE_TYPE_DISK)
    throw app::RuntimeError::invalidPicture(path);
  std::vector<unsigned char> head(kHeadBytes);
  DWORD read = 0;
  if (!ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
    read = 0;
  head.resize(read);
  const LARGE_INTEGER start{};
  IWICImagingFactory* factory = imagingFactory();
  ComPtr<IWICBitmapDecoder> decoder;
  app::Picture picture;
  if (factory != nullptr && !claimsTooMuch(head) &&
      SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) &&
      SUCCEEDED(factory->CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(file.get()),
                                                     nullptr, WICDecodeMetadataCacheOnDemand,
                                                     decoder.put())))
    picture = shownPart(decoder.get(), app::exifOrientation(head));
  if (!picture)
    throw app::RuntimeError::invalidPicture(path);
  return picture;
}

app::Picture builtinPicture(std::string_view name) {
  if (name == "app.ico")
    return std::make_shared<IconPicture>(IDI_APP);
  if (name == "form1.ico")
    return std::make_shared<IconPicture>(IDI_FORM1);
  int id = 0;
  if (name == "splash.gif")
    id = IDR_SPLASH_GIF;
  else if (name == "main.jpg")
    id = IDR_MAIN_JPG;
  else if (name == "about.bmp")
    id = IDR_ABOUT_BMP;
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = id ? FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10)) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (loaded == nullptr)
    throw app::RuntimeError::fileNotFound(std::string(name));
  const std::span<const unsigned char> bytes{
      static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
  const auto head = bytes.first(std::min(bytes.size(), kHeadBytes));
  IWICImagingFactory* factory = imagingFactory();
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  app::Picture picture;
  if (factory != nullptr && !claimsTooMuch(head) &&
      SUCCEEDED(factory->CreateStream(stream.put())) &&
      SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                             static_cast<DWORD>(bytes.size()))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                 WICDecodeMetadataCacheOnDemand, decoder.put())))
    picture = shownPart(decoder.get(), app::exifOrientation(head));
  if (!picture)
    throw app::RuntimeError::invalidPicture(std::string(name));
  return picture;
}

}  // namespace win32
