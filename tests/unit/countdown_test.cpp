// The custom countdown: the count lives in Text1's text.
#include "support/program.h"

namespace sim {
namespace {

const std::string kShutDown = "cmd.exe /c shutdown -s -t 3";
const std::string kRestart = "cmd.exe /c shutdown -r -t 3";

class Countdown : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
  bool counting() { return mainForm().Timer1().Enabled() == app::True; }
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

TEST_F(Countdown, SwitchingTheModeWhileCountingChangesTheCommand) {
  type("5");
  click("Option1");
  click("Command1");
  platform.advance(3s);
  click("Option2");
  EXPECT_EQ(mainForm().Option1().Value(), app::False);
  platform.advance(2s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kRestart});
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

TEST_F(Countdown, WithoutAModeZeroNeverFiresAndStartCountsBelowZero) {
  type("0");
  click("Option1");  // choosing a mode afterwards fires nothing either
  EXPECT_TRUE(platform.commands.empty());
  click("Command1");
  platform.advance(3s);
  EXPECT_EQ(text(), "-3");
  EXPECT_TRUE(platform.commands.empty());
}

TEST_F(Countdown, StartAgainAfterFiringCountsNegativeAndNeverFires) {
  type("1");
  click("Option1");
  click("Command1");
  platform.advance(1s);
  ASSERT_EQ(platform.commands.size(), 1u);
  click("Command1");
  platform.advance(5s);
  EXPECT_EQ(text(), "-5");
  EXPECT_EQ(platform.commands.size(), 1u);
}

TEST_F(Countdown, FractionalAndNegativeStartsNeverFire) {
  click("Option1");
  type("2.5");
  click("Command1");
  platform.advance(2s);
  EXPECT_EQ(text(), "0.5");
  platform.advance(1s);
  EXPECT_EQ(text(), "-0.5");
  type("-3");
  platform.advance(5s);
  EXPECT_EQ(text(), "-8");
  EXPECT_TRUE(platform.commands.empty());
}

TEST_F(Countdown, AFullWidthNumberTicksOnAsAPlainOne) {
  click("Option1");
  type("－３．５");
  click("Command1");
  platform.advance(1s);
  EXPECT_EQ(text(), "-4.5");
  type("\u3000２");
  platform.advance(2s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown});
}

TEST_F(Countdown, StartingTwiceDoesNotRestartTheSecond) {
  click("Option1");
  type("10");
  click("Command1");
  platform.advance(1500ms);
  click("Command1");  // only sets the enabled timer to enabled
  platform.advance(500ms);
  EXPECT_EQ(text(), "8");
}

TEST_F(Countdown, AnEighthCharacterShowsTheNoticeThenSixty) {
  click("Option1");
  click("Command1");
  platform.advance(5s);
  type("12345678");
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].text, "输入的数字过大");
  EXPECT_EQ(platform.boxes[0].style, 16);
  EXPECT_EQ(platform.boxes[0].title, "错误");
  EXPECT_EQ(text(), "60");
  EXPECT_TRUE(counting());  // a running countdown goes on from 60
  platform.advance(60s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown});
}

TEST_F(Countdown, SevenCharactersAreAccepted) {
  type("9999999");
  click("Option1");
  click("Command1");
  platform.advance(1s);
  EXPECT_EQ(text(), "9999998");
  EXPECT_TRUE(platform.boxes.empty());
  type("-999999");
  type("１２３４５６７");  // characters are counted, not bytes
  EXPECT_TRUE(platform.boxes.empty());
  type("１２３４５６７８");
  EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(Countdown, CountingPastMinusAMillionResetsOnceThenFiresAtZero) {
  click("Option1");
  type("-999998");
  click("Option2");
  click("Option1");
  click("Command1");
  platform.advance(1s);
  EXPECT_EQ(text(), "-999999");
  platform.advance(1s);  // -1000000 is eight characters
  ASSERT_EQ(boxTexts(), std::vector<std::string>{"输入的数字过大"});
  EXPECT_EQ(text(), "60");
  platform.advance(60s);
  EXPECT_EQ(boxTexts().size(), 1u);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown});
}

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

TEST_F(Countdown, StartWithoutModeAndEmptyBoxShowsBothMessagesInOrder) {
  type("");
  click("Command1");
  EXPECT_EQ(boxTexts(), (std::vector<std::string>{"请选择模式", "请输入正确的时间！"}));
  for (auto& box : platform.boxes) {
    EXPECT_EQ(box.style, 16);
    EXPECT_EQ(box.title, "错误");
  }
  EXPECT_FALSE(counting());
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

TEST_F(Countdown, BlanksAreNotAnEmptyBox) {
  click("Option1");
  type("  ");
  click("Command1");
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_TRUE(counting());
}

TEST_F(Countdown, TextThatIsNoNumberWaitsWithoutAnError) {
  click("Option1");
  click("Command1");
  for (const char* junk : {"-", "abc", "1e3", ".", "0x1", "关", "--1", "1.2.3"}) {
    type(junk);
    platform.advance(3s);
    EXPECT_EQ(text(), junk);
  }
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_TRUE(platform.commands.empty());
  type("1");
  platform.advance(1s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown});
}

TEST_F(Countdown, TheCountGoesOnWhileMainIsHidden) {
  click("Option1");
  type("3");
  click("Command1");
  click("Command5");
  EXPECT_FALSE(mainPeer().visible);
  platform.advance(3s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{kShutDown});
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
