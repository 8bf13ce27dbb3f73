#include "platform/qt/pictures.h"

#include <QFileInfo>
#include <QImageReader>
#include <map>

#include "app/runtime_error.h"

namespace qtui {

namespace {

std::map<app::Long, const QtPicture*>& registry() {
  static std::map<app::Long, const QtPicture*> pictures;
  return pictures;
}

app::Long nextHandle() {
  static app::Long next = 0x1000;
  next += 4;
  return next;
}

// A form's Icon picture is the 32 x 32 image, as on Windows.
app::Picture iconPicture(const QString& file) {
  QIcon icon(file);
  if (icon.isNull() || icon.availableSizes().isEmpty())
    return nullptr;
  return std::make_shared<QtPicture>(icon.pixmap(QSize(32, 32)), icon);
}

app::Picture imagePicture(const QString& file) {
  QImageReader reader(file);  // reads the first frame of an animation
  QImage image = reader.read();
  if (image.isNull())
    return nullptr;
  return std::make_shared<QtPicture>(QPixmap::fromImage(std::move(image)), QIcon());
}

}  // namespace

QtPicture::QtPicture(QPixmap pixmap, QIcon icon)
    : pixmap_(std::move(pixmap)),
      icon_(icon.isNull() ? QIcon(pixmap_) : std::move(icon)),
      handle_(nextHandle()) {
  registry()[handle_] = this;
}

QtPicture::~QtPicture() {
  registry().erase(handle_);
}

const QtPicture* QtPicture::find(app::Long handle) {
  auto it = registry().find(handle);
  return it == registry().end() ? nullptr : it->second;
}

const QtPicture* QtPicture::of(const app::Picture& picture) {
  return dynamic_cast<const QtPicture*>(picture.get());
}

app::Picture loadPictureFile(const std::string& path) {
  QString file = QString::fromStdString(path);
  file.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QFileInfo info(file);
  if (!info.exists() || info.isDir())
    throw app::RuntimeError::fileNotFound(path);
  app::Picture picture = info.suffix().compare(QLatin1String("ico"), Qt::CaseInsensitive) == 0
                             ? iconPicture(file)
                             : imagePicture(file);
  if (!picture)
    throw app::RuntimeError::invalidPicture(path);
  return picture;
}

app::Picture loadBuiltinPicture(std::string_view name) {
  return loadPictureFile(":/builtin/" + std::string(name));
}

}  // namespace qtui
