// Every close request is refused and starts the shrinking that ends the program.
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
  const Single width = mainForm().Width();
  const Single height = mainForm().Height();
  requestClose();
  EXPECT_TRUE(mainForm().loaded());
  EXPECT_TRUE(mainPeer().visible);
  EXPECT_EQ(mainForm().ULD().Enabled(), app::True);
  platform.advance(30ms);
  EXPECT_EQ(mainForm().Width(), width - 100);
  EXPECT_EQ(mainForm().Height(), height - 100);

  // The first tick n with width - 100 n < 1000 ends it.
  const int n = static_cast<int>((width - 1000) / 100) + 1;
  platform.advance(std::chrono::milliseconds(30 * (n - 2)));
  EXPECT_FALSE(platform.ended);
  platform.advance(30ms);
  EXPECT_TRUE(platform.ended);
  EXPECT_TRUE(application.ended());
  EXPECT_EQ(mainForm().Width(), width - 100 * static_cast<Single>(n));
}

TEST_F(Close, EveryReasonIsRefused) {
  for (app::Integer mode :
       {app::UnloadMode::ControlMenu, app::UnloadMode::AppWindows, app::UnloadMode::TaskManager}) {
    requestClose(mode);
    EXPECT_TRUE(mainForm().loaded()) << mode;
  }
}

TEST_F(Close, ASecondRequestDoesNotStopTheShrink) {
  requestClose();
  platform.advance(300ms);
  requestClose();
  platform.advance(3s);
  EXPECT_TRUE(platform.ended);
}

TEST_F(Close, AWindowThatRefusesToShrinkFurtherStillEnds) {
  mainPeer().narrowest = 170;  // window systems keep captioned windows this wide
  requestClose();
  platform.advance(5s);
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(mainPeer().outerWidth(), 170);
}

TEST_F(Close, NothingRunsAfterTheEnd) {
  click("Option1");
  type("100");
  click("Command1");
  requestClose();
  platform.advance(10s);
  ASSERT_TRUE(platform.ended);
  const std::string last = text();
  const auto trayCalls = platform.trayCalls.size();
  platform.advance(10s);
  click("Command2");
  requestClose();
  application.mouseMove(mainForm(), 0, 0, 7725, 0);
  EXPECT_EQ(text(), last);
  EXPECT_TRUE(platform.commands.empty());
  EXPECT_EQ(platform.trayCalls.size(), trayCalls);  // nor is the icon deleted
  EXPECT_EQ(application.nextDeadline(), std::nullopt);
}

TEST_F(Close, TheCountdownTicksWhileTheWindowShrinks) {
  click("Option1");
  type("1");
  click("Command1");
  platform.advance(500ms);
  requestClose();  // the shrink takes 810 ms
  platform.advance(1s);
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(commandLines(), std::vector<std::string>{"cmd.exe /c shutdown -s -t 3"});
}

TEST_F(Close, EndingBehindAnOpenMessageBoxRunsNoMoreOfItsHandler) {
  requestClose();
  // 说明's box stays open until the shrink has ended the program.
  platform.answers.push_back([this](const RecordedBox&) { platform.advance(5s); });
  click("说明");
  EXPECT_TRUE(platform.ended);
  click("Command2");
  EXPECT_TRUE(platform.commands.empty());
}

TEST_F(Close, AWindowThatIsHiddenShrinksAndEndsToo) {
  click("Command5");
  requestClose();
  platform.advance(5s);
  EXPECT_TRUE(platform.ended);
}

}  // namespace
}  // namespace sim
