// The tray icon: added at main's load with main's icon, and every
// activation delivered to Form_MouseMove as the Windows mouse message.
#include <QMouseEvent>
#include <QPushButton>

#include "platform/qt/pictures.h"
#include "qt_program.h"

namespace qttest {
namespace {

class TrayTest : public QtProgram {
 protected:
  void SetUp() override {
    platform.tray().setAvailability([] { return true; });  // as on a desktop with a tray
    showMain();
  }
  app::NotifyIconData& record() { return app::instance<forms::Module1>().TrayIconData; }
  bool iconPresent() { return platform.tray().find(record().hWnd, record().uID) != nullptr; }
  void activate(QSystemTrayIcon::ActivationReason reason) {
    platform.tray().activated(record().hWnd, record().uID, reason);
  }
};

TEST_F(TrayTest, MainsLoadAddsTheIconWithMainsIcon) {
  ASSERT_TRUE(iconPresent());
  EXPECT_EQ(platform.tray().count(), 1u);
  EXPECT_EQ(record().hWnd, mainForm().hWnd());
  const qtui::QtPicture* icon = qtui::QtPicture::find(record().hIcon);
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(platform.tray().find(record().hWnd, record().uID)->icon().isNull());
  EXPECT_EQ(icon, qtui::QtPicture::of(mainForm().Icon()));
}

// What the icon and main are given, main hidden behind the icon at first:
// activations, a pause longer than the double-click time, and 最小化到任务栏.
constexpr int kPause = -1, kMinimise = -2;
using enum QSystemTrayIcon::ActivationReason;
struct Gesture {
  const char* name;
  std::vector<int> steps;
  bool restored;
  std::size_t icons;  // after
};
void PrintTo(const Gesture& row, std::ostream* out) {  // in test names and failures
  *out << row.name;
}
const Gesture kGestures[] = {
    {"ADoubleClickRestoresMainAndRemovesTheIcon", {DoubleClick}, true, 0},
    {"SingleRightAndMiddleClicksDoNothing", {Context, MiddleClick, Trigger}, false, 1},
    {"TwoQuickSingleActivationsAreADoubleClick", {Trigger, Trigger}, true, 0},
    {"MinimisingAfterARestoreAddsTheIconAgain", {DoubleClick, kMinimise}, false, 1},
    // The host's own double-click right after is the same gesture, not a
    // second one; a third single activation starts a new pair.
    {"TheHostsOwnDoubleClickAfterThemIsNoSecondOne",
     {Trigger, Trigger, kMinimise, DoubleClick},
     false,
     1},
    {"AThirdSingleActivationStartsANewPair",
     {Trigger, Trigger, kMinimise, DoubleClick, Trigger},
     false,
     1},
    {"SlowSingleActivationsAreNoDoubleClick", {Trigger, kPause, Trigger}, false, 1},
};

class TrayGesture : public TrayTest, public ::testing::WithParamInterface<Gesture> {};

TEST_P(TrayGesture, Restores) {
  BoxAnswerer answers;  // the minimise's box
  enter([&] { mainForm().Hide(); });
  for (int step : GetParam().steps) {
    if (step == kPause)
      QTest::qWait(QApplication::doubleClickInterval() + 50);
    else if (step == kMinimise)
      widget<QPushButton>(mainForm(), "Command5")->click();
    else
      activate(static_cast<QSystemTrayIcon::ActivationReason>(step));
  }
  EXPECT_EQ(mainForm().visible(), GetParam().restored);
  EXPECT_EQ(window(mainForm())->isVisible(), GetParam().restored);
  EXPECT_FALSE(window(mainForm())->isMinimized());
  EXPECT_EQ(platform.tray().count(), GetParam().icons);
}
INSTANTIATE_TEST_SUITE_P(Tray, TrayGesture, ::testing::ValuesIn(kGestures),
                         ::testing::PrintToStringParamName());

TEST_F(TrayTest, MouseMovesOverTheClientAreaArriveInTwips) {
  QWidget* client = window(mainForm())->clientArea();
  auto move = [&](QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, client->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(client, &event);
  };
  move({237, 100});
  EXPECT_TRUE(iconPresent()) << "237 px is far from message 515";
  // A drag that leaves the window keeps reporting; 515 px passes the test.
  move({515, 10});
  EXPECT_FALSE(iconPresent());
}

// 最小化到任务栏 with or without a tray on the desktop, as chosen before
// main loads: main goes first, then a box tells how to bring it back.
struct Desktop {
  const char* name;
  bool (*tray)();
  std::size_t icons;  // at start and after
  bool onTheTaskbar;  // still shown, minimised; else hidden behind the icon
};
void PrintTo(const Desktop& row, std::ostream* out) {
  *out << row.name;
}
const Desktop kDesktops[] = {
    {"WithATray", [] { return true; }, 1, false},
    {"WithoutATray", [] { return false; }, 0, true},  // the add is refused
};

class Minimise : public QtProgram, public ::testing::WithParamInterface<Desktop> {};

TEST_P(Minimise, MainGoesFirstThenABoxTellsHowToComeBack) {
  platform.tray().setAvailability(GetParam().tray);
  showMain();
  QWidget* w = window(mainForm());
  EXPECT_EQ(platform.tray().count(), GetParam().icons);
  bool goneWhileBoxOpen = false;
  BoxAnswerer answers([&] {
    goneWhileBoxOpen = !w->isVisible() || w->isMinimized();
    return true;
  });
  widget<QPushButton>(mainForm(), "Command5")->click();
  ASSERT_EQ(answers.boxes.size(), 1u);
  EXPECT_TRUE(goneWhileBoxOpen);
  EXPECT_EQ(w->isVisible(), GetParam().onTheTaskbar);
  EXPECT_EQ(w->isMinimized(), GetParam().onTheTaskbar);
  EXPECT_EQ(platform.tray().count(), GetParam().icons);
}
INSTANTIATE_TEST_SUITE_P(Desktops, Minimise, ::testing::ValuesIn(kDesktops),
                         ::testing::PrintToStringParamName());

}  // namespace
}  // namespace qttest
