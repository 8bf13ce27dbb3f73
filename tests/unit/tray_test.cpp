// Minimise to the tray and restore by a double-click on the icon.
#include "support/program.h"

namespace sim {
namespace {

class Tray : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
  void trayEvent(Single x) { application.mouseMove(mainForm(), 0, 0, x, 0); }
};

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

// A tray callback's x is the mouse message times 15 twips; only 0x203 (7725),
// a left double-click, restores. Start-up added the icon (message 0).
const Script kTrayScripts[] = {
    // The box comes when main is hidden already, and closing it brings
    // nothing back.
    {"MinimiseHidesThenTellsHowToComeBack", "av0|cCommand5|v0|k0|i1", {}, {kMinimised}},
    {"LeftDoubleClickRestoresAndRemovesTheIcon", "cCommand5|m7725|v1|i0|k02", {}, {kMinimised}},
    {"OtherMouseMessagesDoNothing",
     "cCommand5|m7680|m7695|m7710|m7740|m7755|m7770|m7785|m7800|v0|k0",
     {},
     {kMinimised}},
    // 514.5 rounds to 514, 515.5 to 516.
    {"QuotientsRoundHalfToEven", "cCommand5|m7717.5|m7732.5|v0|m7725|v1", {}, {kMinimised}},
    // Moved to a screen of 120 dots per inch.
    {"TheTestUsesTheDisplaysOwnTwipsPerPixel", "S12|cCommand5|m7725|v0|m6180|v1", {}, {kMinimised}},
    {"ASecondMinimiseWithTheIconPresentAddsNoSecondIcon",
     "cCommand5|cCommand5|k0|i1",
     {},
     {kMinimised, kMinimised}},
    {"AMinimiseAfterARestoreAddsTheIconAgain",
     "cCommand5|m7725|i0|cCommand5|i1|k020|m7725|v1",
     {},
     {kMinimised, kMinimised}},
    // The shell refuses the next add after start-up, then takes one; hidden
    // without an icon, main could not be reached again, so it is minimised.
    {"AMinimiseRetriesAnIconTheShellRefusedAtStart",
     "cCommand5|m7725|R1|cCommand5|i0|vm|m0|R0|cCommand5|i1",
     {},
     {kMinimised, kMinimised, kMinimised}},
};

SCRIPT_TESTS(Tray, kTrayScripts);

}  // namespace
}  // namespace sim
