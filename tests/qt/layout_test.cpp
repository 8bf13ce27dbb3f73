// Every window at its stored size and every control at its stored place,
// with its caption, container and tab order.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "qt_program.h"

namespace qttest {
namespace {

QString qs(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QString captionOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w))
    return e->text();
  if (auto* g = qobject_cast<QGroupBox*>(w))
    return g->title();
  if (auto* l = qobject_cast<QLabel*>(w))
    return l->text();
  return {};
}

class LayoutTest : public QtProgram {
 protected:
  // Checks a loaded form's window against its stored layout.
  void expectMatchesLayout(app::Form& form) {
    const app::FormLayout& layout = form.layout();
    qtui::FormWindow* w = window(form);
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(layout.name.data());
    EXPECT_EQ(w->windowTitle(), qs(layout.caption));
    EXPECT_EQ(w->clientArea()->size(), QSize(layout.clientWidth / 15, layout.clientHeight / 15));
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "the window must not be resizable";
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);

    for (const app::ControlLayout& c : layout.controls) {
      SCOPED_TRACE(c.name.data());
      QWidget* control = w->controlWidget(c.name);
      if (c.kind == app::ControlKind::Timer || c.kind == app::ControlKind::MenuItem) {
        EXPECT_EQ(control, nullptr);
        continue;
      }
      ASSERT_NE(control, nullptr);
      QWidget* container =
          c.container == layout.name ? w->clientArea() : w->controlWidget(c.container);
      EXPECT_EQ(control->parentWidget(), container);
      if (c.kind == app::ControlKind::Line)
        continue;
      EXPECT_EQ(control->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
      EXPECT_EQ(captionOf(control), qs(c.caption));
    }
  }
};

TEST_F(LayoutTest, MainHasItsMenuBarAboveAClientAreaOfTheStoredSize) {
  showMain();
  expectMatchesLayout(mainForm());
  qtui::FormWindow* w = window(mainForm());
  ASSERT_NE(w->menuBar(), nullptr);
  EXPECT_EQ(w->clientArea()->y(), w->menuBar()->height());
  EXPECT_EQ(w->size(), QSize(238, 274 + w->menuBar()->height()));
  QStringList names, captions;
  for (QAction* a : w->menuBar()->actions()) {
    names << a->objectName();
    captions << a->text();
    EXPECT_EQ(a->menu(), nullptr) << "top-level commands have no sub-items";
  }
  EXPECT_EQ(names, (QStringList{"说明", "关于", "留言", "换肤"}));
  EXPECT_EQ(captions, (QStringList{"说明", "关于", "贴吧求喜欢", "换肤"}));
}

TEST_F(LayoutTest, MainDrawsOnlyTheTopLeftOfItsPictureAndItsLineAcrossTheWindow) {
  showMain();
  qtui::FormWindow* w = window(mainForm());
  EXPECT_EQ(w->clientArea()->picture().size(), QSize(480, 274)) << "only what a window shows";
  const QImage shot = w->clientArea()->grab().toImage();
  const QImage picture = QImage(":/builtin/main.jpg").convertToFormat(shot.format());
  EXPECT_EQ(shot.pixel(5, 100), picture.pixel(5, 100)) << "drawn unscaled from the top left";
  EXPECT_EQ(shot.pixel(230, 225), picture.pixel(230, 225));
  QWidget* line = w->controlWidget("Line1");
  EXPECT_EQ(line->geometry(), QRect(0, 232, 241, 1));
  EXPECT_EQ(QColor(shot.pixel(100, 232)), QColor(Qt::black)) << "the line is drawn";
}

TEST_F(LayoutTest, MainOpensWithSixtyNoModeAndTheFocusInText1) {
  showMain();
  qtui::FormWindow* w = window(mainForm());
  w->activateWindow();
  ASSERT_TRUE(waitFor([&] { return QApplication::focusWidget() != nullptr; }));
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

TEST_F(LayoutTest, LabelsOverPicturesAreTransparentAndRedWhereStored) {
  showMain();
  auto* note = widget<QLabel>(mainForm(), "Label1");
  EXPECT_FALSE(note->autoFillBackground());
  EXPECT_TRUE(note->wordWrap());
  EXPECT_EQ(note->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  // Frames are opaque: the picture does not show through them.
  EXPECT_TRUE(widget(mainForm(), "Frame2")->autoFillBackground());
}

TEST_F(LayoutTest, SplashIsFramelessOnTopAndSeeThroughOnlyInItsRightStrip) {
  application.start();
  auto* hy = app::Application::current().forms().front();
  qtui::FormWindow* w = window(*hy);
  ASSERT_NE(w, nullptr);
  expectMatchesLayout(*hy);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->windowType(), Qt::SplashScreen) << "no taskbar entry";
  const QRegion mask = w->mask();
  EXPECT_TRUE(mask.contains(QPoint(0, 0)));
  EXPECT_TRUE(mask.contains(QPoint(250, 100))) << "the black banner stays opaque";
  EXPECT_TRUE(mask.contains(QPoint(499, 199)));
  EXPECT_FALSE(mask.contains(QPoint(500, 0)));
  EXPECT_FALSE(mask.contains(QPoint(502, 199)));
  EXPECT_EQ(w->clientArea()->picture().size(), QSize(500, 200));
}

TEST_F(LayoutTest, SplashGivesWayToMainAfterASecond) {
  application.start();
  app::Form* hy = application.forms().front();
  ASSERT_TRUE(waitFor([&] { return mainForm().visible(); }, 3000));
  EXPECT_FALSE(hy->loaded());
  EXPECT_TRUE(window(mainForm())->isVisible());
}

TEST_F(LayoutTest, AboutBoxAndSkinChooserMatchTheirLayouts) {
  showMain();
  enter([] { app::instance<forms::GY>().Show(); });
  expectMatchesLayout(app::instance<forms::GY>());
  qtui::FormWindow* gy = window(app::instance<forms::GY>());
  EXPECT_FALSE(gy->windowFlags() & Qt::WindowCloseButtonHint) << "no close box";
  EXPECT_EQ(gy->clientArea()->picture().size(), QSize(500, 200));
  EXPECT_TRUE(widget<QLabel>(app::instance<forms::GY>(), "Label1")->font().bold());

  enter([] { app::instance<forms::Form1>().Show(); });
  expectMatchesLayout(app::instance<forms::Form1>());
  EXPECT_TRUE(widget(app::instance<forms::Form1>(), "Label1")->autoFillBackground())
      << "the hint label is a plain, opaque label";
}

}  // namespace
}  // namespace qttest
