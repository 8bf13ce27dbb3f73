// Every window at its stored size and every control at its stored place,
// with its caption, container and tab order.
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>

#include "qt_program.h"

namespace qttest {
namespace {

// A control as stored: its container and its place in twips, 15 to a
// pixel; a null caption is the implementer's to choose.
struct Stored {
  const char* name;
  const char* container;
  int left, top, width, height;
  const char* caption;
};
struct StoredForm {
  const char* caption;
  QSize client;  // twips
  std::vector<Stored> controls;
  std::vector<const char*> windowless;  // timers and menu items
};

const StoredForm kMain{"<Tavimo> 关机工具 ",
                       {3570, 4110},
                       {
                           {"Command9", "main", 1920, 2040, 1455, 375, "5小时关机"},
                           {"Command8", "main", 1920, 1560, 1455, 375, "2小时关机"},
                           {"Command7", "main", 1920, 1080, 1455, 375, "30分钟关机"},
                           {"Command6", "main", 120, 2520, 3255, 375, "取消快捷按钮关机"},
                           {"Command5", "main", 2400, 2880, 1095, 495, "最小化到任务栏"},
                           {"Command4", "main", 120, 2040, 1455, 375, "3小时关机"},
                           {"Command3", "main", 120, 1560, 1455, 375, "1小时关机"},
                           {"Command2", "main", 120, 1080, 1455, 375, "六十秒关机"},
                           {"Frame2", "main", 2160, 120, 1335, 975, "选择模式"},
                           {"Option2", "Frame2", 120, 480, 975, 375, "重启"},
                           {"Option1", "Frame2", 120, 240, 1095, 255, "关机"},
                           {"Command1", "main", 120, 2880, 2175, 495, "开始计时"},
                           {"Frame1", "main", 120, 120, 1935, 975, "时间设定（秒）"},
                           {"Text1", "Frame1", 120, 360, 1695, 270, "60"},
                           {"Label1", "main", 120, 3600, 3375, 495,
                            "V3.6.0更新说明：图标更新，同时贴吧求喜欢。开始测试换肤功能"},
                       },
                       {"Timer1", "ULD", "说明", "关于", "留言", "换肤"}};
const StoredForm kSplash{"",
                         {7545, 3000},
                         {
                             {"Label3", "HY", 0, 240, 1575, 255, "绿色免安装版"},
                             {"Label2", "HY", 0, 0, 1575, 255, nullptr},
                             {"Label1", "HY", 5760, 2640, 1575, 255, "关机工具V3.6.0"},
                         },
                         {"Timer1"}};
const StoredForm kAbout{"关于",
                        {8640, 2955},
                        {
                            {"Command1", "GY", 6720, 2400, 1455, 375, "确定"},
                            {"Label2", "GY", 0, 0, 1935, 255, "绿色免安装版"},
                            {"Label1", "GY", 6720, 240, 1575, 2295,
                             "V3.6.0版本更新：增加皮肤替换功能！（仅测试中。。。）"
                             "预计接下来两次更新会将换肤功能完善，感谢您的支持！"},
                        },
                        {}};
const StoredForm kChooser{"换肤（测试中）",
                          {3165, 2970},
                          {
                              {"Frame1", "Form1", 120, 120, 2895, 1815, "皮肤"},
                              {"Option1", "Frame1", 240, 360, 2415, 375, "星空主题"},
                              {"Option2", "Frame1", 240, 840, 2175, 375, "大海主题"},
                              {"Option3", "Frame1", 240, 1440, 2415, 255, "天空主题"},
                              {"Command1", "Form1", 120, 2040, 2895, 495, "确定"},
                              {"Label1", "Form1", 120, 2640, 3015, 255, "想要自定义皮肤的点这里。"},
                          },
                          {}};

class LayoutTest : public QtProgram {
 protected:
  // Checks a loaded form's window against its stored layout.
  void expectLayout(app::Form& form, const StoredForm& stored) {
    qtui::FormWindow* w = window(form);
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(stored.caption);
    EXPECT_EQ(w->windowTitle(), stored.caption);
    EXPECT_EQ(w->clientArea()->size(), stored.client / 15);
    EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "the window must not be resizable";
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    for (const Stored& c : stored.controls) {
      SCOPED_TRACE(c.name);
      QWidget* control = w->controlWidget(c.name);
      ASSERT_NE(control, nullptr);
      QWidget* container = w->controlWidget(c.container);
      EXPECT_EQ(control->parentWidget(), container ? container : w->clientArea());
      EXPECT_EQ(control->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
      if (c.caption) {
        EXPECT_EQ(
            control->property(qobject_cast<QGroupBox*>(control) ? "title" : "text").toString(),
            c.caption);
      }
    }
    for (const char* name : stored.windowless) EXPECT_EQ(w->controlWidget(name), nullptr) << name;
  }
};

TEST_F(LayoutTest, MainHasItsMenuBarAboveAClientAreaOfTheStoredSize) {
  showMain();
  expectLayout(mainForm(), kMain);
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
  expectLayout(*hy, kSplash);
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
  expectLayout(app::instance<forms::GY>(), kAbout);
  qtui::FormWindow* gy = window(app::instance<forms::GY>());
  EXPECT_FALSE(gy->windowFlags() & Qt::WindowCloseButtonHint) << "no close box";
  EXPECT_EQ(gy->clientArea()->picture().size(), QSize(500, 200));
  EXPECT_TRUE(widget<QLabel>(app::instance<forms::GY>(), "Label1")->font().bold());

  enter([] { app::instance<forms::Form1>().Show(); });
  expectLayout(app::instance<forms::Form1>(), kChooser);
  EXPECT_TRUE(widget(app::instance<forms::Form1>(), "Label1")->autoFillBackground())
      << "the hint label is a plain, opaque label";
  EXPECT_EQ(window(app::instance<forms::Form1>())->windowIcon().pixmap(16).toImage(),
            QIcon(":/builtin/form1.ico").pixmap(16).toImage())
      << "the chooser shows its own icon, not the program's";
}

}  // namespace
}  // namespace qttest
