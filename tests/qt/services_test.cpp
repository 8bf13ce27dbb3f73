// The runtime services on Qt: pictures, the application directory, the
// declared entry points and the timers.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/qt/pictures.h"
#include "platform/qt/system_commands.h"
#include "qt_program.h"

namespace qttest {
namespace {

class ServicesTest : public QtProgram {};

// The number of the runtime error the action raises, and its description;
// 0 when it raises none.
int errorOf(const std::function<void()>& action, std::string* description = nullptr) {
  try {
    action();
  } catch (const app::RuntimeError& e) {
    if (description)
      *description = e.description();
    return e.number();
  }
  return 0;
}

TEST_F(ServicesTest, PicturesLoadFromTheProgramsDirectoryJoinedWithABackslash) {
  const QString file = QString::fromStdString(app::AppPath()) + "/横幅.gif";
  QFile::remove(file);  // left over from a run that failed
  ASSERT_TRUE(QFile::copy(":/builtin/splash.gif", file));
  app::Picture picture = platform.loadPicture(app::AppPath() + "\\横幅.gif");
  QFile::remove(file);
  EXPECT_EQ(picture->widthPixels(), 500);
  EXPECT_EQ(picture->heightPixels(), 200);
  // Only the first frame: its pixels, not a blend of both.
  const QImage first = QImage(":/builtin/splash.gif").convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(qtui::QtPicture::of(picture)->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            first);
}

// Stored on its side with the EXIF orientation 6 (turn a quarter
// clockwise): the left 300 columns green, the rest blue.
TEST_F(ServicesTest, PhotosStandUprightAndOnlyTheTopLeftAWindowShowsIsKept) {
  QImage stored(1000, 800, QImage::Format_RGB32);
  stored.fill(Qt::blue);
  QPainter(&stored).fillRect(0, 0, 300, 800, Qt::green);
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPG", 95));
  const char exif[] =
      "\xFF\xE1\x00\x22"
      "Exif\0\0"
      "II*\0\x08\0\0\0"
      "\x01\0"
      "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
      "\0\0\0\0";
  jpeg.insert(2, exif, sizeof exif - 1);
  QTemporaryDir dir;
  QFile file(dir.filePath("photo.jpg"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size());
  file.close();

  app::Picture picture = platform.loadPicture(file.fileName().toStdString());
  // Upright it is 800 x 1000 with its top 300 rows green.
  const QImage kept = qtui::QtPicture::of(picture)->pixmap().toImage();
  EXPECT_EQ(kept.size(), QSize(576, 274));
  for (QPoint at : {QPoint(0, 0), QPoint(575, 0), QPoint(0, 273), QPoint(575, 273)})
    EXPECT_GT(qGreen(kept.pixel(at)), 200 + qBlue(kept.pixel(at)) / 4) << at.x() << "," << at.y();
}

TEST_F(ServicesTest, MissingAndBrokenPicturesRaiseTheirRuntimeErrors) {
  QTemporaryDir dir;
  const std::string missing = dir.path().toStdString() + "\\大海.jpg";
  std::string said;
  EXPECT_EQ(errorOf([&] { platform.loadPicture(missing); }, &said), 53);
  EXPECT_NE(said.find(missing), std::string::npos) << said;
  QFile junk(dir.filePath("天空.jpg"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("not a picture at all") > 0);
  junk.close();
  EXPECT_EQ(errorOf([&] { platform.loadPicture(junk.fileName().toStdString()); }), 481);
  EXPECT_EQ(errorOf([&] { platform.loadPicture(dir.path().toStdString()); }), 53)
      << "a directory is no picture file";
}

TEST_F(ServicesTest, EveryPictureUpToTheLargestSideLoadsAndNoWiderOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath("skin.png");
  // The picture's size, the width kept of it and the error it raises.
  const std::tuple<QSize, app::Long, int> cases[] = {
      {{12000, 3000}, 576, 0}, {{16384, 1}, 576, 0}, {{16385, 1}, 0, 481}, {{1, 16385}, 0, 481}};
  for (const auto& [size, kept, error] : cases) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    ASSERT_TRUE(image.save(path, "PNG"));
    app::Long width = 0;
    EXPECT_EQ(errorOf([&] { width = platform.loadPicture(path.toStdString())->widthPixels(); }),
              error)
        << size.width() << "x" << size.height();
    EXPECT_EQ(width, kept) << "only what a window shows is kept";
  }
}

TEST_F(ServicesTest, BuiltinPicturesHaveDistinctLiveHandles) {
  app::Picture icon = platform.builtinPicture("app.ico");
  app::Picture other = platform.builtinPicture("form1.ico");
  EXPECT_EQ(icon->widthPixels(), 32);
  EXPECT_NE(icon->handle(), other->handle());
  EXPECT_GE(qtui::QtPicture::of(icon)->icon().availableSizes().size(), 4);
  const app::Long handle = icon->handle();
  EXPECT_EQ(qtui::QtPicture::find(handle), qtui::QtPicture::of(icon));
  icon.reset();
  EXPECT_EQ(qtui::QtPicture::find(handle), nullptr);
  for (auto name : {"splash.gif", "main.jpg", "about.bmp"})
    EXPECT_NE(platform.builtinPicture(name), nullptr) << name;
  EXPECT_THROW(platform.builtinPicture("nothing.png"), app::RuntimeError);
}

TEST_F(ServicesTest, ApplicationDirectoryIsTheExecutablesRealDirectory) {
  const std::string dir = platform.applicationDirectory();
  EXPECT_EQ(QString::fromStdString(dir), QDir(QApplication::applicationDirPath()).canonicalPath());
  EXPECT_NE(dir.back(), '/');
  EXPECT_EQ(app::AppPath(), dir);
}

// An entry is looked up in its own library.
TEST_F(ServicesTest, OnlyTheFiveDeclaredEntriesBind) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {"user32", "SetWindowPos", 0},          {"user32", "GetWindowLongA", 0},
      {"user32", "SetWindowLongA", 0},        {"user32", "SetLayeredWindowAttributes", 0},
      {"shell32.dll", "Shell_NotifyIcon", 0}, {"user32", "MessageBoxA", 453},
      {"shell32.dll", "SetWindowPos", 453}};
  for (const auto& [library, entry, error] : cases)
    EXPECT_EQ(errorOf([&] { platform.entries().bind(library, entry); }), error)
        << library << '!' << entry;
  EXPECT_EQ(platform.entries().lastError(), 0);
}

TEST_F(ServicesTest, ExtendedStyleWordsAreKeptPerWindow) {
  showMain();
  auto& entries = platform.entries();
  const app::Long main = mainForm().hWnd();
  const app::Long style = entries.GetWindowLongA(main, -20);
  EXPECT_EQ(style & 0x80000, 0) << "not layered to begin with";
  EXPECT_EQ(entries.SetWindowLongA(main, -20, style | 0x80000), style);
  EXPECT_EQ(entries.GetWindowLongA(main, -20), style | 0x80000);
  EXPECT_EQ(entries.GetWindowLongA(main + 1, -20), 0) << "no such window";
  EXPECT_EQ(entries.SetWindowPos(main + 1, -1, 0, 0, 0, 0, 3), 0);
  // Without the layered bit a colour key changes nothing.
  enter([&] { app::instance<forms::GY>().Show(); });
  const app::Long about = app::instance<forms::GY>().hWnd();
  EXPECT_EQ(entries.SetLayeredWindowAttributes(about, 0x0000FF, 0, 1), 0);
  EXPECT_TRUE(window(app::instance<forms::GY>())->mask().isEmpty());
}

TEST_F(ServicesTest, SetWindowPosMovesTheWindowToTheTopmostBandAndBack) {
  showMain();
  auto& entries = platform.entries();
  qtui::FormWindow* w = window(mainForm());
  const QPoint at = w->pos();
  EXPECT_EQ(entries.SetWindowPos(mainForm().hWnd(), -1, 0, 0, 0, 0, 3), 1);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(w->isVisible()) << "changing the flag must not hide the window";
  EXPECT_EQ(w->pos(), at) << "no move, no size";
  entries.SetWindowPos(mainForm().hWnd(), -2, 0, 0, 0, 0, 3);
  EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(DelayText, SaysWholeHoursAndMinutesAndElseSeconds) {
  const std::pair<int, const char*> cases[] = {
      {3, "3 秒"},      {60, "60 秒"},     {90, "90 秒"},    {1800, "30 分钟"},
      {3600, "1 小时"}, {5400, "90 分钟"}, {18000, "5 小时"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(qtui::delayText(seconds), text) << seconds;
}

}  // namespace
}  // namespace qttest
