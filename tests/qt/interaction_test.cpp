// User actions on the real widgets reach the core, and what the core does
// comes back out: recorded requests, message boxes, window states. The
// texts and command lines themselves are the unit tests'.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "qt_program.h"

namespace qttest {
namespace {

using Kind = app::CommandLine::Kind;
using namespace std::chrono_literals;

class InteractionTest : public QtProgram {
 protected:
  void SetUp() override { showMain(); }

  void press(std::string_view button) { widget<QPushButton>(mainForm(), button)->click(); }
  QRadioButton* option(std::string_view name) { return widget<QRadioButton>(mainForm(), name); }
  QLineEdit* text1() { return widget<QLineEdit>(mainForm(), "Text1"); }
  void menu(const QString& name) {
    if (auto* item = window(mainForm())->menuBar()->findChild<QAction*>(name))
      item->trigger();
  }
};

// Each button's command line is the core's (unit QuickCommands); here a
// press on the widget reaches it.
TEST_F(InteractionTest, ButtonPressesReachTheCoreByName) {
  press("Command9");
  press("Command6");
  ASSERT_EQ(commands.commands.size(), 2u);
  EXPECT_EQ(commands.commands[0].seconds(), 18000);
  EXPECT_EQ(commands.commands[1].kind(), Kind::AbortShutdown);
}

TEST_F(InteractionTest, OptionsFollowTheCoreAndCannotBeClearedByASecondClick) {
  option("Option1")->click();
  EXPECT_TRUE(option("Option1")->isChecked());
  option("Option2")->click();
  EXPECT_FALSE(option("Option1")->isChecked());
  EXPECT_TRUE(option("Option2")->isChecked());
  option("Option2")->click();  // Qt alone would uncheck it
  EXPECT_TRUE(option("Option2")->isChecked());
  EXPECT_EQ(mainForm().Option2().Value(), app::True);
  EXPECT_EQ(mainForm().Option1().Value(), app::False);
}

TEST_F(InteractionTest, TypingReachesTheCoreAndProgramWritesDoNotEchoBack) {
  option("Option1")->click();
  text1()->selectAll();
  QTest::keyClicks(text1(), "12");
  EXPECT_EQ(mainForm().Text1().Text(), "12");

  // The core writes 0: one Change, so exactly one request, no echo.
  enter([&] { mainForm().Text1().setText("0"); });
  EXPECT_EQ(text1()->text(), "0");
  ASSERT_EQ(commands.commands.size(), 1u);
  EXPECT_EQ(commands.commands[0].kind(), Kind::ShutDown);
  EXPECT_EQ(commands.commands[0].seconds(), 3);

  // The core writes 60 from inside the widget's own change, behind a box.
  BoxAnswerer answers;
  text1()->selectAll();
  QTest::keyClicks(text1(), "12345678");
  EXPECT_EQ(answers.boxes.size(), 1u);
  EXPECT_EQ(text1()->text(), "60");
}

// Each tick within a few milliseconds of start + k seconds, never before:
// a late countdown fails here, not only in the benchmark.
TEST_F(InteractionTest, CountdownTicksOnTimeAndRestartsAtZero) {
  option("Option2")->click();
  text1()->selectAll();
  QTest::keyClicks(text1(), "3");
  std::vector<qint64> ticks;
  QString shown = text1()->text();
  QElapsedTimer clock;
  clock.start();
  press("Command1");
  // Looks at every pass of the loop (qWaitFor would sleep between them).
  while (commands.commands.empty() && clock.elapsed() < 4500) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    if (text1()->text() != shown)
      ticks.push_back(clock.nsecsElapsed()), shown = text1()->text();
  }
  ASSERT_EQ(ticks.size(), 3u);
  for (int k = 1; k <= 3; ++k) {
    const double lateMs = static_cast<double>(ticks[k - 1] - k * 1'000'000'000LL) / 1e6;
    EXPECT_GE(lateMs, 0) << "tick " << k;
    EXPECT_LE(lateMs, 20) << "tick " << k;
  }
  EXPECT_EQ(text1()->text(), "0");
  EXPECT_EQ(commands.commands[0].kind(), Kind::Restart);
  EXPECT_EQ(commands.commands[0].seconds(), 3);
  EXPECT_EQ(mainForm().Timer1().Enabled(), app::False);
}

TEST_F(InteractionTest, TheCountdownGoesOnBehindAnOpenMessageBox) {
  startCountdown("Option1", "2");
  QElapsedTimer open;
  open.start();
  BoxAnswerer answers([&] { return !commands.commands.empty() || open.elapsed() > 4000; });
  menu("说明");
  ASSERT_EQ(answers.boxes.size(), 1u);
  ASSERT_EQ(commands.commands.size(), 1u) << "the countdown fired while the box was open";
  EXPECT_EQ(commands.commands[0].seconds(), 3);
}

TEST_F(InteractionTest, MenuCommandsShowTheirBoxesAndOpenTheForum) {
  BoxAnswerer answers;
  menu("说明");
  menu("留言");
  ASSERT_EQ(answers.boxes.size(), 2u);
  EXPECT_EQ(answers.boxes[0].button, "确定");
  EXPECT_EQ(answers.boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(answers.boxes[1].title, "Tavimo关机工具") << "no title: the application's";
  EXPECT_EQ(answers.boxes[1].icon, QMessageBox::NoIcon);
  ASSERT_EQ(commands.commands.size(), 1u);
  EXPECT_EQ(commands.commands[0].kind(), Kind::OpenAddress);
}

// Puts a file, a folder or a pipe where the sky skin is; puts the skin
// back at the end.
class SkySkinStandIn {
 public:
  SkySkinStandIn() : path_(QDir(QApplication::applicationDirPath()).canonicalPath() + "/天空.jpg") {
    QFile skin(path_);
    if (skin.open(QIODevice::ReadOnly))
      photo_ = skin.readAll();
  }
  ~SkySkinStandIn() { put(File, photo_); }
  enum Kind { File, Folder, Pipe };
  void put(Kind kind, const QByteArray& bytes) {
    QFile::remove(path_);
    QDir().rmdir(path_);
    if (QFile file(path_); kind == File && file.open(QIODevice::WriteOnly))
      file.write(bytes);
    else if (kind == Folder)
      QDir().mkdir(path_);
    else if (kind == Pipe)
      ::mkfifo(QFile::encodeName(path_).constData(), 0600);
  }
  // The photo claiming a size in its frame header.
  QByteArray claiming(int width, int height) const {
    QByteArray bytes = photo_;
    const auto frame = bytes.indexOf("\xFF\xC0");
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return bytes.replace(frame + 5, 4, size, 4);
  }
  const QString path_;
  QByteArray photo_;
};

// The chooser disables main while it is open; a skin that is no picture
// is reported by its real path, and main keeps its own picture.
TEST_F(InteractionTest, SkinChooserDisablesMainAndReportsSkinsThatAreNoPicturesByTheirRealPath) {
  SkySkinStandIn sky;
  ASSERT_FALSE(sky.photo_.isEmpty());
  const std::string path = sky.path_.toStdString();
  const struct {
    const char* what;
    SkySkinStandIn::Kind kind;
    QByteArray bytes;
    const char* error;  // none: the photo becomes main's picture
  } cases[] = {
      {"60000 x 60000 in the header", sky.File, sky.claiming(60000, 60000), "'481'"},
      {"cut off halfway", sky.File, sky.photo_.left(sky.photo_.size() / 2), "'481'"},
      {"empty", sky.File, {}, "'481'"},
      {"text", sky.File, "天空\n", "'481'"},
      {"a folder", sky.Folder, {}, "'53'"},
      {"a pipe", sky.Pipe, {}, "'481'"},
      {"the photo", sky.File, sky.photo_, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sky.put(c.kind, c.bytes);
    // A reader stuck on the pipe is let go after 2 s, so a fault fails
    // the timing below instead of hanging the test.
    std::atomic<bool> done = false;
    std::thread release([&] {
      for (int i = 0; i < 40 && !done; ++i) std::this_thread::sleep_for(50ms);
      if (const int fd = done ? -1 : ::open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
        ::close(fd);
    });
    BoxAnswerer answers;
    QElapsedTimer clock;
    clock.start();
    menu("换肤");
    auto& chooser = app::instance<forms::Form1>();
    EXPECT_TRUE(chooser.visible());
    EXPECT_FALSE(window(mainForm())->isEnabled());
    EXPECT_FALSE(widget<QRadioButton>(chooser, "Option1")->isChecked());
    widget<QRadioButton>(chooser, "Option3")->click();
    widget<QPushButton>(chooser, "Command1")->click();
    EXPECT_LT(clock.elapsed(), 1000);
    done = true;
    release.join();
    EXPECT_FALSE(chooser.loaded());
    EXPECT_TRUE(window(mainForm())->isEnabled());
    // The sky is 480 x 720, main's own picture 480 x 274: the pixels tell them apart.
    const QImage shown = window(mainForm())->clientArea()->picture().toImage();
    EXPECT_EQ(shown.size(), QSize(480, 274));
    const QImage expected(c.error ? ":/builtin/main.jpg" : sky.path_);
    EXPECT_TRUE(shown.convertToFormat(QImage::Format_RGB32) ==
                expected.copy(0, 0, 480, 274).convertToFormat(QImage::Format_RGB32))
        << "main shows the top left of " << (c.error ? "its own picture" : "the photo");
    ASSERT_EQ(answers.boxes.size(), c.error ? 2u : 1u);
    if (c.error) {
      EXPECT_TRUE(answers.boxes[1].text.contains(c.error)) << answers.boxes[1].text.toStdString();
      EXPECT_TRUE(answers.boxes[1].text.endsWith("：" + sky.path_)) << "the real path, with /";
    }
  }
}

// Main, disabled behind the chooser, cannot be closed; once the chooser
// is gone its focus is where it was.
TEST_F(InteractionTest, SkinChooserHintLabelIsClickableAndItsCloseBoxUnloadsIt) {
  BoxAnswerer answers;
  QWidget* focus = widget(mainForm(), "Command9");
  focus->setFocus();
  menu("换肤");
  auto& chooser = app::instance<forms::Form1>();
  QTest::mouseClick(widget(chooser, "Label1"), Qt::LeftButton);
  ASSERT_EQ(answers.boxes.size(), 1u) << "the click reached Label1_Click";
  EXPECT_TRUE(chooser.loaded());
  window(mainForm())->close();
  EXPECT_EQ(mainForm().ULD().Enabled(), app::False) << "no close sequence";

  window(chooser)->close();
  EXPECT_FALSE(chooser.loaded());
  EXPECT_TRUE(window(mainForm())->isEnabled());
  EXPECT_EQ(window(mainForm())->focusWidget(), focus);
  EXPECT_EQ(answers.boxes.size(), 1u) << "closing shows nothing";
}

TEST_F(InteractionTest, AboutBoxClosesWithItsButtonAndOpensAgainAsOne) {
  menu("关于");
  menu("关于");
  auto& about = app::instance<forms::GY>();
  ASSERT_TRUE(about.visible());
  EXPECT_EQ(
      std::ranges::count_if(QApplication::topLevelWidgets(),
                            [](QWidget* w) { return w->isVisible() && w->objectName() == "GY"; }),
      1);
  widget<QPushButton>(about, "Command1")->click();
  EXPECT_FALSE(about.loaded());
  EXPECT_TRUE(mainForm().visible());
  menu("关于");
  EXPECT_TRUE(about.visible());
}

}  // namespace
}  // namespace qttest
