// Minimise to the tray and restore by a double-click on the icon.
#include "support/program.h"

namespace sim {
namespace {

class Tray : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
  void trayEvent(Single x) { application.mouseMove(mainForm(), 0, 0, x, 0); }
};

TEST_F(Tray, MinimiseHidesThenTellsHowToComeBack) {
  bool hiddenWhileShown = false;
  platform.answers.push_back([&](const RecordedBox&) { hiddenWhileShown = !mainPeer().visible; });
  click("Command5");
  EXPECT_EQ(platform.boxes, (Boxes{{"已最小化！可以双击任务栏的图标重新呼出！", 64, "最小化！"}}));
  EXPECT_TRUE(hiddenWhileShown);
  EXPECT_FALSE(mainPeer().visible);  // closing the box does not bring it back
  EXPECT_FALSE(mainPeer().minimized);
  EXPECT_TRUE(mainForm().loaded());
  EXPECT_EQ(platform.trayCalls.size(), 1u);  // the icon from start-up is still there
}

TEST_F(Tray, LeftDoubleClickRestoresAndRemovesTheIcon) {
  click("Command5");
  trayEvent(515 * 15);
  EXPECT_TRUE(mainPeer().visible);
  ASSERT_EQ(platform.trayCalls.size(), 2u);
  EXPECT_EQ(platform.trayCalls[1].message, 2);
  EXPECT_EQ(platform.trayCalls[1].record.hWnd, mainPeer().handle());
  EXPECT_EQ(platform.trayCalls[1].record.uID, 1);
  EXPECT_TRUE(platform.trayIcons.empty());
}

TEST_F(Tray, OtherMouseMessagesDoNothing) {
  click("Command5");
  for (Long message : {0x200, 0x201, 0x202, 0x204, 0x205, 0x206, 0x207, 0x208})
    trayEvent(static_cast<Single>(message * 15));
  EXPECT_FALSE(mainPeer().visible);
  EXPECT_EQ(platform.trayCalls.size(), 1u);
}

TEST_F(Tray, QuotientsRoundHalfToEven) {
  click("Command5");
  trayEvent(7717.5f);  // 514.5 rounds to 514
  trayEvent(7732.5f);  // 515.5 rounds to 516
  EXPECT_FALSE(mainPeer().visible);
  trayEvent(7725.0f);  // 515
  EXPECT_TRUE(mainPeer().visible);
}

TEST_F(Tray, TheTestUsesTheDisplaysOwnTwipsPerPixel) {
  mainPeer().scale = 12;  // moved to a screen of 120 dots per inch
  click("Command5");
  trayEvent(515 * 15);
  EXPECT_FALSE(mainPeer().visible);
  trayEvent(515 * 12);
  EXPECT_TRUE(mainPeer().visible);
}

TEST_F(Tray, PointerMovesOverTheWindowNeverPass) {
  for (int x = 0; x < 238; ++x) trayEvent(static_cast<Single>(x * 15));
  EXPECT_EQ(platform.trayCalls.size(), 1u);
  EXPECT_EQ(platform.trayIcons.size(), 1u);
}

TEST_F(Tray, DoubleClickWhileVisibleOnlyRemovesTheIcon) {
  trayEvent(7725);
  EXPECT_TRUE(mainPeer().visible);
  EXPECT_EQ(mainPeer().timesShown, 2);
  EXPECT_TRUE(platform.trayIcons.empty());
}

TEST_F(Tray, AMinimiseAfterARestoreAddsTheIconAgain) {
  click("Command5");
  trayEvent(7725);
  ASSERT_TRUE(platform.trayIcons.empty());
  click("Command5");
  EXPECT_EQ(platform.trayIcons.size(), 1u);
  ASSERT_EQ(platform.trayCalls.size(), 3u);
  EXPECT_EQ(platform.trayCalls[2].message, 0);
  EXPECT_EQ(platform.trayCalls[2].record.cbSize, 28);
  trayEvent(7725);
  EXPECT_TRUE(mainPeer().visible);
}

TEST_F(Tray, AMinimiseRetriesAnIconTheShellRefusedAtStart) {
  // Start-up has passed; the shell refuses the next add too, then takes one.
  click("Command5");
  trayEvent(7725);
  platform.refuseTrayIcons = true;
  click("Command5");
  EXPECT_TRUE(platform.trayIcons.empty());
  EXPECT_TRUE(mainPeer().minimized);  // hidden, it could not be reached again
  trayEvent(0);
  platform.refuseTrayIcons = false;
  click("Command5");
  EXPECT_EQ(platform.trayIcons.size(), 1u);
}

TEST_F(Tray, ASecondMinimiseWithTheIconPresentAddsNoSecondIcon) {
  click("Command5");
  click("Command5");
  EXPECT_EQ(platform.trayCalls.size(), 1u);
}

}  // namespace
}  // namespace sim
