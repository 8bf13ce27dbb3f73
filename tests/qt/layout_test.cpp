// Every window at its stored size and every control at its stored place,
// with its caption, container and tab order.
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>

#include "qt_program.h"
#include "support/designed_layouts.h"

namespace qttest {
namespace {

class LayoutTest : public QtProgram {
 protected:
  // Checks a loaded form's window against its designed layout, 15 twips
  // to a pixel; timers and menu items have no widget.
  void expectLayout(app::Form& form, const designed::Form& designed,
                    std::vector<const char*> windowless = {}) {
    qtui::FormWindow* w = window(form);
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(designed.caption);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8(designed.caption));
    EXPECT_EQ(w->clientArea()->size(), QSize(designed.clientWidth, designed.clientHeight) / 15);
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "the window must not be resizable";
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    for (const designed::Control& c : designed.controls) {
      SCOPED_TRACE(c.name);
      QWidget* control = w->controlWidget(c.name);
      ASSERT_NE(control, nullptr);
      QWidget* container = w->controlWidget(c.container);
      EXPECT_EQ(control->parentWidget(), container ? container : w->clientArea());
      EXPECT_EQ(control->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
      EXPECT_EQ(control->property(c.kind == designed::Kind::Frame ? "title" : "text").toString(),
                QString::fromUtf8(c.caption));
    }
    for (const char* name : windowless) EXPECT_EQ(w->controlWidget(name), nullptr) << name;
  }
};

TEST_F(LayoutTest, MainHasItsMenuBarAboveAClientAreaOfTheStoredSize) {
  showMain();
  expectLayout(mainForm(), designed::kMain, {"Timer1", "ULD", "说明", "关于", "留言", "换肤"});
  qtui::FormWindow* w = window(mainForm());
  ASSERT_NE(w->menuBar(), nullptr);
  EXPECT_EQ(w->clientArea()->y(), w->menuBar()->height());
  EXPECT_EQ(w->size(), QSize(238, 274 + w->menuBar()->height()));
  QStringList items;  // name: caption
  for (QAction* a : w->menuBar()->actions()) {
    items << a->objectName() + ": " + a->text();
    EXPECT_EQ(a->menu(), nullptr) << "top-level commands have no sub-items";
  }
  EXPECT_EQ(items, (QStringList{"说明: 说明", "关于: 关于", "留言: 贴吧求喜欢", "换肤: 换肤"}));
}

TEST_F(LayoutTest, MainDrawsTheTopLeftOfItsPictureItsLineAndClearRedLabelsOverIt) {
  showMain();
  qtui::FormWindow* w = window(mainForm());
  EXPECT_EQ(w->clientArea()->picture().size(), QSize(480, 274)) << "only what a window shows";
  const QImage shot = w->clientArea()->grab().toImage();
  const QImage picture = QImage(":/builtin/main.jpg").convertToFormat(shot.format());
  EXPECT_EQ(shot.pixel(5, 100), picture.pixel(5, 100)) << "drawn unscaled from the top left";
  EXPECT_EQ(shot.pixel(230, 225), picture.pixel(230, 225));
  QWidget* line = w->controlWidget("Line1");
  EXPECT_EQ(line->parentWidget(), w->clientArea());
  EXPECT_EQ(line->geometry(), QRect(0, 232, 241, 1));
  EXPECT_EQ(QColor(shot.pixel(100, 232)), QColor(Qt::black)) << "the line is drawn";
  auto* note = widget<QLabel>(mainForm(), "Label1");
  EXPECT_FALSE(note->autoFillBackground());
  EXPECT_TRUE(note->wordWrap());
  EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  // Frames are opaque: the picture does not show through them.
  EXPECT_TRUE(widget(mainForm(), "Frame2")->autoFillBackground());
}

TEST_F(LayoutTest, MainOpensWithSixtyNoModeAndTheFocusInText1) {
  showMain();
  qtui::FormWindow* w = window(mainForm());
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }));
  EXPECT_EQ(QApplication::focusWidget(), w->controlWidget("Text1"));
  EXPECT_EQ(widget<QLineEdit>(mainForm(), "Text1")->text(), "60");
  EXPECT_FALSE(widget<QRadioButton>(mainForm(), "Option1")->isChecked());
  EXPECT_FALSE(widget<QRadioButton>(mainForm(), "Option2")->isChecked());

  // Tab order by tab index, skipping frames and labels.
  QStringList chain;
  QWidget* at = w->controlWidget("Text1");
  for (int i = 0; i < 11; ++i, at = at->nextInFocusChain()) {
    while (at->focusPolicy() == Qt::NoFocus) at = at->nextInFocusChain();
    chain << at->objectName();
  }
  EXPECT_EQ(chain, (QStringList{"Text1", "Command1", "Option1", "Option2", "Command2", "Command3",
                                "Command4", "Command5", "Command6", "Command7", "Command8"}));
}

TEST_F(LayoutTest, SplashIsFramelessOnTopAndSeeThroughOnlyInItsRightStrip) {
  application.start();
  auto* hy = app::Application::current().forms().front();
  qtui::FormWindow* w = window(*hy);
  ASSERT_NE(w, nullptr);
  expectLayout(*hy, designed::kSplash, {"Timer1"});
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->windowType(), Qt::SplashScreen) << "no taskbar entry";
  const QRegion mask = w->mask();
  // The black banner at 250, 100 stays opaque.
  for (QPoint at : {QPoint(0, 0), QPoint(250, 100), QPoint(499, 199)})
    EXPECT_TRUE(mask.contains(at)) << at.x() << "," << at.y();
  EXPECT_FALSE(mask.contains(QPoint(500, 0)));
  EXPECT_FALSE(mask.contains(QPoint(502, 199)));
  EXPECT_EQ(w->clientArea()->picture().size(), QSize(500, 200));
}

TEST_F(LayoutTest, AboutBoxAndSkinChooserMatchTheirLayouts) {
  showMain();
  enter([] { app::instance<forms::GY>().Show(); });
  expectLayout(app::instance<forms::GY>(), designed::kAbout);
  qtui::FormWindow* gy = window(app::instance<forms::GY>());
  EXPECT_FALSE(gy->windowFlags() & Qt::WindowCloseButtonHint) << "no close box";
  EXPECT_EQ(gy->clientArea()->picture().size(), QSize(500, 200));
  EXPECT_TRUE(widget<QLabel>(app::instance<forms::GY>(), "Label1")->font().bold());

  enter([] { app::instance<forms::Form1>().Show(); });
  expectLayout(app::instance<forms::Form1>(), designed::kChooser);
  EXPECT_TRUE(widget(app::instance<forms::Form1>(), "Label1")->autoFillBackground())
      << "the hint label is a plain, opaque label";
  EXPECT_EQ(window(app::instance<forms::Form1>())->windowIcon().pixmap(16).toImage(),
            QIcon(":/builtin/form1.ico").pixmap(16).toImage())
      << "the chooser shows its own icon, not the program's";
}

}  // namespace
}  // namespace qttest
