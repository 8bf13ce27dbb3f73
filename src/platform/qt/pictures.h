// Decoded pictures and icons. Every live picture has a handle the program
// can pass around (the tray record's hIcon) and look up again.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <string>
#include <string_view>

#include "app/picture.h"

namespace qtui {

class QtPicture : public app::PictureObject {
 public:
  QtPicture(QPixmap pixmap, QIcon icon);
  ~QtPicture() override;
  QtPicture(const QtPicture&) = delete;
  QtPicture& operator=(const QtPicture&) = delete;

  app::Long handle() const override { return handle_; }
  int widthPixels() const override { return pixmap_.width(); }
  int heightPixels() const override { return pixmap_.height(); }

  const QPixmap& pixmap() const { return pixmap_; }
  // The icon with all its images, or one made of the pixmap.
  const QIcon& icon() const { return icon_; }

  // Null once the picture is gone.
  static const QtPicture* find(app::Long handle);
  static const QtPicture* of(const app::Picture& picture);

 private:
  QPixmap pixmap_;
  QIcon icon_;
  app::Long handle_;
};

// The program joins its directory and a file's name with '\', as on
// Windows; here that separator is '/'. Other paths stay as they are.
std::string fileInDirectory(const std::string& programPath, const std::string& directory);

// Keeps only the part of the picture a window can show, upright as its
// EXIF orientation says. Raises RuntimeError::fileNotFound for a missing
// file or a folder, ::invalidPicture for anything that is not a regular
// file holding a picture of at most kLargestPictureSide pixels a side.
app::Picture loadPictureFile(const std::string& path);
// "splash.gif", "app.ico" and the other pictures built into the program.
app::Picture loadBuiltinPicture(std::string_view name);

}  // namespace qtui
