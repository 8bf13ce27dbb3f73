// The custom countdown: the count lives in Text1's text.
#include "support/program.h"

namespace sim {
namespace {

const std::string kShutDown = "cmd.exe /c shutdown -s -t 3";
const std::string kRestart = "cmd.exe /c shutdown -r -t 3";
const std::string kTooLong = "输入的数字过大";

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
  ASSERT_EQ(commandLines(), std::vector<std::string>{kShutDown});
  EXPECT_EQ(platform.commands[0].at - pressed, 60s);
  EXPECT_FALSE(counting());
  platform.advance(10s);
  EXPECT_EQ(text(), "0");
  EXPECT_EQ(platform.commands.size(), 1u);
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Countdown, EachModeRunsItsLineMinimisedWithFocus) {
  for (const auto& [option, line] : {std::pair{"Option1", kShutDown}, {"Option2", kRestart}}) {
    platform.commands.clear();
    click(option);
    click("Command1");
    platform.advance(60s);
    ASSERT_EQ(commandLines(), std::vector<std::string>{line});
    EXPECT_EQ(static_cast<int>(platform.commands[0].style), 2) << option;
    type("60");
  }
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
    EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown}) << zero;
    EXPECT_FALSE(counting()) << zero;
  }
  platform.commands.clear();
  type("0");  // idle: still fires, without the start button
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown});
}

const Script kScripts[] = {
    {"SwitchingTheModeWhileCountingChangesTheCommand",
     "t5|cOption1|cCommand1|w3000|cOption2|w2000",
     {kRestart}},
    {"WithoutAModeZeroNeverFiresAndStartCountsBelowZero", "t0|cOption1|n0|cCommand1|w3000|=-3", {}},
    {"StartAgainAfterFiringCountsNegativeAndNeverFires",
     "t1|cOption1|cCommand1|w1000|n1|cCommand1|w5000|=-5",
     {kShutDown}},
    {"FractionalAndNegativeStartsNeverFire",
     "cOption1|t2.5|cCommand1|w2000|=0.5|w1000|=-0.5|t-3|w5000|=-8",
     {}},
    {"AFullWidthNumberTicksOnAsAPlainOne",
     "cOption1|t－３．５|cCommand1|w1000|=-4.5|t\u3000２|w2000",
     {kShutDown}},
    {"StartingTwiceDoesNotRestartTheSecond", "cOption1|t10|cCommand1|w1500|cCommand1|w500|=8", {}},
    // Characters are counted, not bytes.
    {"SevenCharactersAreAccepted",
     "t9999999|cOption1|cCommand1|w1000|=9999998|t-999999|t１２３４５６７|b0|t１２３４５６７８|b1",
     {},
     {kTooLong}},
    // -1000000 is eight characters: one notice, 60, then the line.
    {"CountingPastMinusAMillionResetsOnceThenFiresAtZero",
     "cOption1|t-999998|cOption2|cOption1|cCommand1|w1000|=-999999|w1000|b1|=60|w60000|b1",
     {kShutDown},
     {kTooLong}},
    {"BlanksAreNotAnEmptyBox", "cOption1|t  |cCommand1|b0|r1", {}},
    {"TheCountGoesOnWhileMainIsHidden",
     "cOption1|t3|cCommand1|cCommand5|w3000",
     {kShutDown},
     {"已最小化！可以双击任务栏的图标重新呼出！"}},
    {"AnEighthCharacterShowsTheNoticeThenSixty",
     "cOption1|cCommand1|w5000|t12345678|b1|e|=60|r1|w60000",
     {kShutDown},
     {kTooLong}},
    {"StartWithoutModeAndEmptyBoxShowsBothMessagesInOrder",
     "t|cCommand1|e|r0",
     {},
     {"请选择模式", "请输入正确的时间！"}},
    {"TextThatIsNoNumberWaitsWithoutAnError",
     "cOption1|cCommand1|t-|w3000|=-|tabc|w3000|=abc|t1e3|w3000|=1e3|t.|w3000|=.|t0x1|w3000|=0x1|"
     "t关|w3000|=关|t--1|w3000|=--1|t1.2.3|w3000|=1.2.3|b0|n0|t1|w1000",
     {kShutDown}},
};

class CountdownScript : public Countdown, public ::testing::WithParamInterface<Script> {};

TEST_P(CountdownScript, Runs) {
  run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Countdown, CountdownScript, ::testing::ValuesIn(kScripts), nameOf);

TEST_F(Countdown, TheTickLeavesAnOverlongTextAloneBehindItsNotice) {
  click("Option1");
  click("Command1");
  // The notice stays open for five seconds; the count left it alone, and
  // the reset to 60 waits for it to close.
  platform.answers.push_back([this](const RecordedBox&) {
    platform.advance(5s);
    EXPECT_EQ(text(), "12345678");
  });
  type("12345678");
  EXPECT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.mostOpenBoxes, 1);
  EXPECT_EQ(text(), "60");
  platform.advance(1s);
  EXPECT_EQ(text(), "59");
}

TEST_F(Countdown, TicksKeepComingWhileAnotherMessageBoxIsOpen) {
  click("Option1");
  type("10");
  click("Command1");
  platform.answers.push_back([this](const RecordedBox&) { platform.advance(4s); });
  click("说明");
  EXPECT_EQ(text(), "6");
}

TEST_F(Countdown, StartWithModeAndEmptyBoxEnablesTheTimerAndComplains) {
  click("Option2");
  type("");
  bool countingWhileShown = false;
  platform.answers.push_back([&](const RecordedBox&) { countingWhileShown = counting(); });
  click("Command1");
  EXPECT_EQ(boxTexts(), std::vector<std::string>{"请输入正确的时间！"});
  EXPECT_TRUE(countingWhileShown);
  // The empty box waits; typing a number carries the count on from it.
  platform.advance(3s);
  EXPECT_EQ(text(), "");
  type("2");
  platform.advance(2s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kRestart});
}

TEST_F(Countdown, TicksDoNotDriftBehindABusyHandler) {
  click("Option1");
  type("100");
  click("Command1");
  // A message box that stays open for 2.3 s delays nothing: the ticks keep
  // to press + k seconds.
  platform.advance(500ms);
  platform.answers.push_back([this](const RecordedBox&) { platform.advance(2300ms); });
  click("说明");
  platform.advance(97s - 2800ms);
  EXPECT_EQ(text(), "3");
  platform.advance(2999ms);
  EXPECT_EQ(text(), "1");
  platform.advance(1ms);
  EXPECT_EQ(text(), "0");
}

}  // namespace
}  // namespace sim
