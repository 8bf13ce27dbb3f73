// Every close request is refused and starts the shrinking that ends the program.
#include <ostream>

#include "support/program.h"

namespace sim {
namespace {

class Close : public ProgramTest {
 protected:
  void SetUp() override {
    platform.twipsPerPixel = 10;  // 144 dots per inch: a 100-twip step is 10 pixels
    startToMain();
  }
  void requestClose(app::Integer mode = app::UnloadMode::ControlMenu) {
    application.closeRequested(mainForm(), mode);
  }
};

TEST_F(Close, TheWindowShrinksAndTheProgramEndsBelowAThousandTwips) {
  requestClose();
  EXPECT_TRUE(mainForm().loaded());
  EXPECT_TRUE(mainPeer().visible);
  EXPECT_EQ(mainForm().ULD().Enabled(), app::True);
  platform.advance(30ms);
  EXPECT_EQ(mainForm().Width(), 3530);   // 3570 client + 60 border, less 100
  EXPECT_EQ(mainForm().Height(), 4490);  // 4110 + 280 caption + 200 menu bar, less 100
}

// From a start width (twips) and the narrowest width (pixels) the window
// system allows, the tick that ends it and the width it ends at.
struct From {
  Single start;
  int narrowest, ticks;
  Single end;
  friend void PrintTo(const From& f, std::ostream* os) {
    *os << "from " << f.start << " narrowest " << f.narrowest << ": " << f.ticks << " ticks to "
        << f.end;
  }
};
class CloseFrom : public Close, public ::testing::WithParamInterface<From> {};

TEST_P(CloseFrom, ItEndsOnTheFirstTickThatLeavesTheWidthBelowAThousand) {
  const auto [start, narrowest, ticks, end] = GetParam();
  mainForm().setWidth(start);
  mainPeer().narrowest = narrowest;
  requestClose();
  platform.advance(std::chrono::milliseconds(30 * (ticks - 1)));
  EXPECT_FALSE(platform.ended);
  platform.advance(30ms);
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(mainForm().Width(), end);
}

// 3600 reaches exactly 1000 on tick 26 and goes on. Window systems keep
// captioned windows 170 pixels wide: 3630 to 1700 takes 20 ticks; 5 more at
// that width end it.
INSTANTIATE_TEST_SUITE_P(Widths, CloseFrom,
                         ::testing::Values(From{3630, 0, 27, 930}, From{3600, 0, 27, 900},
                                           From{1100, 0, 2, 900}, From{1050, 0, 1, 950},
                                           From{3630, 170, 25, 1700}));

// A window manager that carries a resize out this much later, and the
// narrowest width (pixels) it allows.
class LateWindowManager
    : public Close,
      public ::testing::WithParamInterface<std::pair<std::chrono::milliseconds, int>> {};

TEST_P(LateWindowManager, NeverEndsTheSequenceEarly) {
  const auto [delay, narrowest] = GetParam();
  mainPeer().resizeDelay = delay;
  mainPeer().narrowest = narrowest;
  requestClose();
  platform.advance(10s);
  EXPECT_TRUE(platform.ended);
  if (narrowest == 0)
    EXPECT_LT(mainForm().Width(), 1000);
  else
    EXPECT_EQ(mainForm().Width(), 1700);
}

INSTANTIATE_TEST_SUITE_P(Delays, LateWindowManager,
                         ::testing::Values(std::pair{30ms, 0}, std::pair{60ms, 0},
                                           std::pair{100ms, 0}, std::pair{60ms, 170}));

// Dragged to a 96-dpi display after one tick: the system keeps the size
// in twips (235 × 299 pixels), and the next tick takes 100 twips off that.
TEST_F(Close, AScaleChangeMidwayShrinksFromTheSizeInTwips) {
  requestClose();
  platform.advance(30ms);
  mainPeer().scale = 15;
  mainPeer().width = 235;
  mainPeer().height = 299;
  platform.advance(30ms);
  EXPECT_EQ(mainForm().Width(), 3420);   // 3525 less 100, to whole pixels
  EXPECT_EQ(mainForm().Height(), 4380);  // 4485 less 100, to whole pixels
}

const Script kCloseScripts[] = {
    // The close box, the session's end and the task manager.
    {"EveryReasonIsRefused", "x0|v1|x2|v1|x3|v1|E0", {}},
    {"ASecondRequestDoesNotStopTheShrink", "x0|w300|x0|w3000|E1", {}},
    {"AWindowThatIsHiddenShrinksAndEndsToo", "cCommand5|x0|w5000|E1", {}, {kMinimised}},
    // The shrink takes 810 ms; the countdown's tick comes within it.
    {"TheCountdownTicksWhileTheWindowShrinks",
     "cOption1|t1|cCommand1|w500|x0|E0|w1000|E1",
     {kShutDownIn3}},
    // It ends before the countdown's first tick; the icon is not deleted.
    {"NothingRunsAfterTheEnd",
     "cOption1|t100|cCommand1|x0|w10000|E1|w10000|cCommand2|x0|m7725|=100|k0|E1",
     {}},
    // 说明's box stays open until the shrink has ended the program.
    {"EndingBehindAnOpenMessageBoxRunsNoMoreOfItsHandler",
     "x0|aw5000|c说明|E1|cCommand2",
     {},
     {kNotes}},
};

SCRIPT_TESTS(Close, kCloseScripts);

}  // namespace
}  // namespace sim
