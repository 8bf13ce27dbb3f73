#include "platform/win32/pictures.h"

#include <cstring>
#include <vector>

#include "app/runtime_error.h"
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

// OLE owns the bitmap it decoded; keep a copy of our own.
app::Picture fromOlePicture(IPicture* picture) {
  SHORT type = PICTYPE_NONE;
  OLE_HANDLE handle = 0;
  if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP ||
      FAILED(picture->get_Handle(&handle)))
    return nullptr;
  auto* copy =
      static_cast<HBITMAP>(CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)),
                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP info{};
  if (copy == nullptr || GetObjectW(copy, sizeof info, &info) == 0)
    return nullptr;
  return std::make_shared<BitmapPicture>(copy, info.bmWidth, info.bmHeight);
}

}  // namespace

app::Picture decodePicture(std::span<const std::byte> bytes) {
  if (bytes.empty())
    return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr)
    return nullptr;
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* rawStream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &rawStream))) {
    GlobalFree(memory);
    return nullptr;
  }
  const ComPtr<IStream> stream(rawStream);
  IPicture* rawPicture = nullptr;
  if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&rawPicture))) ||
      rawPicture == nullptr)
    return nullptr;
  const ComPtr<IPicture> picture(rawPicture);
  return fromOlePicture(picture.get());
}

app::Picture loadPictureFile(const std::string& path) {
  HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    throw app::RuntimeError::fileNotFound(path);
  std::vector<std::byte> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30)) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
      read = 0;
    bytes.resize(read);
  }
  CloseHandle(file);
  app::Picture picture = decodePicture(bytes);
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
  const auto* data = static_cast<const std::byte*>(LockResource(loaded));
  app::Picture picture = decodePicture({data, SizeofResource(module, found)});
  if (!picture)
    throw app::RuntimeError::invalidPicture(std::string(name));
  return picture;
}

}  // namespace win32
