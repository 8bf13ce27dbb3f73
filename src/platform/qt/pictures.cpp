#include "platform/qt/pictures.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <QTransform>
#include <map>

#include "app/picture_header.h"
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

// Maps the stored image onto the upright one, in the order Qt applies an
// EXIF orientation: mirror, flip, then a quarter turn clockwise.
QTransform uprightFromStored(QSize stored, QImageIOHandler::Transformations orientation) {
  QTransform transform;
  if (orientation & QImageIOHandler::TransformationMirror)
    transform *= QTransform(-1, 0, 0, 1, stored.width(), 0);
  if (orientation & QImageIOHandler::TransformationFlip)
    transform *= QTransform(1, 0, 0, -1, 0, stored.height());
  if (orientation & QImageIOHandler::TransformationRotate90)
    transform *= QTransform(0, 1, -1, 0, stored.height(), 0);
  return transform;
}

// The clip is given in the stored image, before Qt turns it upright.
QRect storedPartShown(QSize stored, QImageIOHandler::Transformations orientation) {
  const QTransform upright = uprightFromStored(stored, orientation);
  const QRect whole = upright.mapRect(QRect(QPoint(0, 0), stored));
  const QRect shown =
      whole.intersected(QRect(0, 0, app::kShownPictureWidth, app::kShownPictureHeight));
  return upright.inverted().mapRect(shown);
}

// Read through in pieces, so that a photo is never held whole; the device
// is left at its start for the decoder.
bool isCutOffJpeg(QIODevice& device) {
  app::JpegEndFinder end;
  char piece[65536];
  for (qint64 n = 0; !end.decided() && (n = device.read(piece, sizeof piece)) > 0;)
    end.feed({reinterpret_cast<const unsigned char*>(piece), static_cast<std::size_t>(n)});
  return end.cutOff() || !device.seek(0);
}

app::Picture imagePicture(QIODevice& device) {
  if (isCutOffJpeg(device))
    return nullptr;
  // Qt's decoders allocate no more than this, a picture of the largest
  // side at 32 bits (Qt's own default, 128 MB, refuses a 12000 x 3000
  // one), so a decoder that reads a size other than size() does cannot
  // cost more either.
  constexpr qint64 kMostBytes = qint64{app::kLargestPictureSide} * app::kLargestPictureSide * 4;
  QImageReader::setAllocationLimit(static_cast<int>(kMostBytes >> 20));
  QImageReader reader(&device);  // the first frame of an animation
  reader.setAutoTransform(true);
  const QSize stored = reader.size();
  if (!stored.isValid() || stored.width() > app::kLargestPictureSide ||
      stored.height() > app::kLargestPictureSide)
    return nullptr;  // refused before anything is allocated
  reader.setClipRect(storedPartShown(stored, reader.transformation()));
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

std::string fileInDirectory(const std::string& programPath, const std::string& directory) {
  std::string file = programPath;
  if (file.size() > directory.size() && file.starts_with(directory) &&
      file[directory.size()] == '\\')
    file[directory.size()] = '/';
  return file;
}

app::Picture loadPictureFile(const std::string& path) {
  // Opened without waiting, so a pipe or a device named like a picture
  // cannot hold the program up; only a regular file is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    throw app::RuntimeError::fileNotFound(path);
  QFile file;  // closes fd whatever happens
  file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
  struct stat status {};
  const bool known = ::fstat(fd, &status) == 0;
  if (known && S_ISDIR(status.st_mode))
    throw app::RuntimeError::fileNotFound(path);
  app::Picture picture = known && S_ISREG(status.st_mode) ? imagePicture(file) : nullptr;
  if (!picture)
    throw app::RuntimeError::invalidPicture(path);
  return picture;
}

app::Picture loadBuiltinPicture(std::string_view name) {
  const QString file = QStringLiteral(":/builtin/") +
                       QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  app::Picture picture;
  if (file.endsWith(QLatin1String(".ico"))) {
    picture = iconPicture(file);
  } else {
    QFile resource(file);
    if (resource.open(QIODevice::ReadOnly))
      picture = imagePicture(resource);
  }
  if (!picture)
    throw app::RuntimeError::fileNotFound(std::string(name));
  return picture;
}

}  // namespace qtui
