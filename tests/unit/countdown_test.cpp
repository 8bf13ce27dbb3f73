// The custom countdown: the count lives in Text1's text.
#include "support/program.h"

namespace sim {
namespace {

const RecordedBox kTooLong{"输入的数字过大", 16, "错误"};
const RecordedBox kNoMode{"请选择模式", 16, "错误"};
const RecordedBox kNoTime{"请输入正确的时间！", 16, "错误"};

class Countdown : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
};

TEST_F(Countdown, SixtySecondsWithShutDownFiresExactlyOnceAtZero) {
  click("Option1");
  const auto pressed = platform.clock;
  click("Command1");
  platform.advance(1s);
  EXPECT_EQ(text(), "59");
  EXPECT_EQ(mainPeer().texts["Text1"], "59");  // the box shows it
  platform.advance(58s);
  EXPECT_EQ(text(), "1");
  EXPECT_TRUE(platform.commands.empty());
  platform.advance(1s);
  ASSERT_EQ(commandLines(), std::vector<std::string>{kShutDownIn3});
  EXPECT_EQ(platform.commands[0].at - pressed, 60s);
  EXPECT_FALSE(counting());
  platform.advance(10s);
  EXPECT_EQ(text(), "0");
  EXPECT_EQ(platform.commands.size(), 1u);
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Countdown, TypingAZeroWithAModeFiresAtOnceCountingOrNot) {
  click("Option1");
  for (const char* zero : {"0", "00", "0.0", " 0 ", "-0", "+0", "- 0", "0.", ".0", "\t0", "０",
                           "－０", "\u3000０．０\u3000"}) {
    platform.commands.clear();
    type("9");
    click("Command1");
    ASSERT_TRUE(counting());
    type(zero);
    EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDownIn3}) << zero;
    EXPECT_FALSE(counting()) << zero;
  }
  platform.commands.clear();
  type("0");  // idle: still fires, without the start button
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDownIn3});
}

const Script kScripts[] = {
    {"SwitchingTheModeWhileCountingChangesTheCommand",
     "t5|cOption1|cCommand1|w3000|cOption2|w2000",
     {kRestartIn3}},
    {"WithoutAModeZeroNeverFiresAndStartCountsBelowZero", "t0|cOption1|n0|cCommand1|w3000|=-3", {}},
    {"StartAgainAfterFiringCountsNegativeAndNeverFires",
     "t1|cOption1|cCommand1|w1000|n1|cCommand1|w5000|=-5",
     {kShutDownIn3}},
    {"FractionalAndNegativeStartsNeverFire",
     "cOption1|t2.5|cCommand1|w2000|=0.5|w1000|=-0.5|t-3|w5000|=-8",
     {}},
    {"AFullWidthNumberTicksOnAsAPlainOne",
     "cOption1|t－３．５|cCommand1|w1000|=-4.5|t\u3000２|w2000",
     {kShutDownIn3}},
    {"StartingTwiceDoesNotRestartTheSecond", "cOption1|t10|cCommand1|w1500|cCommand1|w500|=8", {}},
    // Characters are counted, not bytes.
    {"SevenCharactersAreAccepted",
     "t9999999|cOption1|cCommand1|w1000|=9999998|t-999999|t１２３４５６７|b0|t１２３４５６７８|b1",
     {},
     {kTooLong}},
    // -1000000 is eight characters: one notice, 60, then the line.
    {"CountingPastMinusAMillionResetsOnceThenFiresAtZero",
     "cOption1|t-999998|cOption2|cOption1|cCommand1|w1000|=-999999|w1000|b1|=60|w60000|b1",
     {kShutDownIn3},
     {kTooLong}},
    {"BlanksAreNotAnEmptyBox", "cOption1|t  |cCommand1|b0|r1", {}},
    {"TheCountGoesOnWhileMainIsHidden",
     "cOption1|t3|cCommand1|cCommand5|w3000",
     {kShutDownIn3},
     {kMinimised}},
    {"AnEighthCharacterShowsTheNoticeThenSixty",
     "cOption1|cCommand1|w5000|t12345678|b1|=60|r1|w60000",
     {kShutDownIn3},
     {kTooLong}},
    {"StartWithoutModeAndEmptyBoxShowsBothMessagesInOrder",
     "t|cCommand1|r0",
     {},
     {kNoMode, kNoTime}},
    {"StartWithModeAndEmptyBoxEnablesTheTimerAndComplains",
     "cOption2|t|ar1|cCommand1|w3000|=|t2|w2000",
     {kRestartIn3},
     {kNoTime}},
    {"EachModeRunsItsLineMinimisedWithFocus",
     "cOption1|cCommand1|w60000|n1|t60|cOption2|cCommand1|w60000|s2",
     {kShutDownIn3, kRestartIn3}},
    // The notice stays open for five seconds; the count leaves it alone, and
    // the reset to 60 waits for it to close.
    {"TheTickLeavesAnOverlongTextAloneBehindItsNotice",
     "cOption1|cCommand1|aw5000,=12345678|t12345678|b1|=60|w1000|=59",
     {},
     {kTooLong}},
    {"TicksKeepComingWhileAnotherMessageBoxIsOpen",
     "cOption1|t10|cCommand1|aw4000|c说明|=6",
     {},
     {kNotes}},
    // A message box that stays open for 2.3 s delays nothing: the ticks keep
    // to press + k seconds.
    {"TicksDoNotDriftBehindABusyHandler",
     "cOption1|t100|cCommand1|w500|aw2300|c说明|w94200|=3|w2999|=1|w1|=0",
     {kShutDownIn3},
     {kNotes}},
    {"TextThatIsNoNumberWaitsWithoutAnError",
     "cOption1|cCommand1|t-|w3000|=-|tabc|w3000|=abc|t1e3|w3000|=1e3|t.|w3000|=.|t0x1|w3000|=0x1|"
     "t关|w3000|=关|t--1|w3000|=--1|t1.2.3|w3000|=1.2.3|b0|n0|t1|w1000",
     {kShutDownIn3}},
};

SCRIPT_TESTS(Countdown, kScripts);

}  // namespace
}  // namespace sim
