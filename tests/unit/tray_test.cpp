// Minimise to the tray and restore by a double-click on the icon.
#include "support/program.h"

namespace sim {
namespace {

const std::string kMinimised = "已最小化！可以双击任务栏的图标重新呼出！";

class Tray : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
  void trayEvent(Single x) { application.mouseMove(mainForm(), 0, 0, x, 0); }
};

TEST_F(Tray, MinimiseHidesThenTellsHowToComeBack) {
  bool hiddenWhileShown = false;
  platform.answers.push_back([&](const RecordedBox&) { hiddenWhileShown = !mainPeer().visible; });
  click("Command5");
  EXPECT_EQ(platform.boxes, (Boxes{{kMinimised, 64, "最小化！"}}));
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

// A tray callback's x is the mouse message times 15 twips; only 0x203 (7725),
// a left double-click, restores.
const Script kTrayScripts[] = {
    {"OtherMouseMessagesDoNothing",
     "cCommand5|m7680|m7695|m7710|m7740|m7755|m7770|m7785|m7800|v0|k1",
     {},
     {kMinimised}},
    // 514.5 rounds to 514, 515.5 to 516.
    {"QuotientsRoundHalfToEven", "cCommand5|m7717.5|m7732.5|v0|m7725|v1", {}, {kMinimised}},
    {"ASecondMinimiseWithTheIconPresentAddsNoSecondIcon",
     "cCommand5|cCommand5|k1",
     {},
     {kMinimised, kMinimised}},
};

class TrayScript : public Tray, public ::testing::WithParamInterface<Script> {};

TEST_P(TrayScript, Runs) {
  run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Tray, TrayScript, ::testing::ValuesIn(kTrayScripts), nameOf);

}  // namespace
}  // namespace sim
