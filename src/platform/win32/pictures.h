// Pictures decoded by the Windows Imaging Component (any format it has a
// codec for, first frame, turned upright) and icons from the executable's
// icon groups.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>
#include <string_view>

#include "app/picture.h"

namespace win32 {

class BitmapPicture : public app::PictureObject {
 public:
  BitmapPicture(HBITMAP bitmap, int width, int height);
  ~BitmapPicture() override;
  BitmapPicture(const BitmapPicture&) = delete;
  BitmapPicture& operator=(const BitmapPicture&) = delete;

  HBITMAP bitmap() const { return bitmap_; }
  app::Long handle() const override;
  int widthPixels() const override { return width_; }
  int heightPixels() const override { return height_; }

 private:
  HBITMAP bitmap_;
  int width_, height_;
};

class IconPicture : public app::PictureObject {
 public:
  explicit IconPicture(int group);  // at the system's density
  IconPicture(int group, UINT dpi);
  ~IconPicture() override;
  IconPicture(const IconPicture&) = delete;
  IconPicture& operator=(const IconPicture&) = delete;

  // The small image serves the tray and the caption, the large one Alt+Tab.
  HICON small() const { return small_; }
  HICON large() const { return large_; }
  int group() const { return group_; }
  app::Long handle() const override;
  int widthPixels() const override;
  int heightPixels() const override;

 private:
  int group_;
  HICON small_;
  HICON large_;
};

// Raises RuntimeError::fileNotFound or ::invalidPicture. Keeps only the
// top-left part a window can show.
app::Picture loadPictureFile(const std::string& path);

// "splash.gif", "main.jpg", "about.bmp", "app.ico", "form1.ico".
app::Picture builtinPicture(std::string_view name);

}  // namespace win32
