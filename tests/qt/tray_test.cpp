// The tray icon: added at main's load with main's icon, and every
// activation delivered to Form_MouseMove as the Windows mouse message.
#include <QMouseEvent>

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
  void hideMain() {
    enter([&] { mainForm().Hide(); });
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

TEST_F(TrayTest, ADoubleClickRestoresTheWindowAndRemovesTheIcon) {
  hideMain();
  activate(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(mainForm().visible());
  EXPECT_TRUE(window(mainForm())->isVisible());
  EXPECT_FALSE(window(mainForm())->isMinimized());
  EXPECT_FALSE(iconPresent());
}

TEST_F(TrayTest, SingleRightAndMiddleClicksDoNothing) {
  hideMain();
  activate(QSystemTrayIcon::Context);
  activate(QSystemTrayIcon::MiddleClick);
  activate(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(mainForm().visible());
  EXPECT_TRUE(iconPresent());
}

TEST_F(TrayTest, TwoQuickSingleActivationsCountAsADoubleClickOnlyOnce) {
  hideMain();
  activate(QSystemTrayIcon::Trigger);
  activate(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(mainForm().visible());
  EXPECT_FALSE(iconPresent());

  // The host's own double-click right after is the same gesture, not a
  // second one; a third single activation starts a new pair.
  enter([&] { app::instance<forms::Module1>().Shell_NotifyIcon(app::NotifyIcon::Add, record()); });
  activate(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(iconPresent());
  activate(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(iconPresent());
}

TEST_F(TrayTest, SlowSingleActivationsAreNoDoubleClick) {
  hideMain();
  activate(QSystemTrayIcon::Trigger);
  QElapsedTimer wait;
  wait.start();
  waitFor([&] { return wait.elapsed() > QApplication::doubleClickInterval() + 50; },
          QApplication::doubleClickInterval() + 500);
  activate(QSystemTrayIcon::Trigger);
  EXPECT_FALSE(mainForm().visible());
  EXPECT_TRUE(iconPresent());
}

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

TEST_F(TrayTest, MinimisingAfterARestoreAddsTheIconAgain) {
  BoxAnswerer answers;
  activate(QSystemTrayIcon::DoubleClick);
  ASSERT_FALSE(iconPresent());
  enter([&] { mainForm().Command5_Click(); });
  EXPECT_TRUE(iconPresent());
  EXPECT_EQ(platform.tray().count(), 1u);
}

}  // namespace
}  // namespace qttest
