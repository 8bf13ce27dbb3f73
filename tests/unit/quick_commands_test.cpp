// The seven quick buttons.
#include "support/program.h"

namespace sim {
namespace {

class QuickCommands : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
};

TEST_F(QuickCommands, EachButtonRunsItsLineMinimisedAndNothingElse) {
  const std::vector<std::pair<std::string, std::string>> buttons{
      {"Command2", "cmd.exe /c shutdown -s -t 60"},
      {"Command7", "cmd.exe /c shutdown -s -t 1800"},
      {"Command3", "cmd.exe /c shutdown -s -t 3600"},
      {"Command8", "cmd.exe /c shutdown -s -t 7200"},
      {"Command4", "cmd.exe /c shutdown -s -t 10800"},
      {"Command9", "cmd.exe /c shutdown -s -t 18000"},
      {"Command6", "cmd.exe /c shutdown -a"},
  };
  for (const auto& [button, line] : buttons) {
    platform.commands.clear();
    click(button);
    click(button);  // a second press runs it again
    ASSERT_EQ(commandLines(), (std::vector<std::string>{line, line})) << button;
    EXPECT_EQ(platform.commands[0].style, app::WindowStyle::MinimizedFocus);
  }
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(text(), "60");
  EXPECT_EQ(application.nextDeadline(), std::nullopt);
}

TEST_F(QuickCommands, ACommandThatCannotStartIsReportedAndTheProgramGoesOn) {
  platform.refuseCommands = true;
  click("Command2");
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].style, 16);
  platform.refuseCommands = false;
  click("Command2");
  EXPECT_EQ(commandLines(), (std::vector<std::string>{"cmd.exe /c shutdown -s -t 60"}));
}

TEST_F(QuickCommands, ADisabledMainTakesNoClicks) {
  mainForm().setEnabled(app::False);
  click("Command2");
  EXPECT_TRUE(platform.commands.empty());
}

const Script kQuickScripts[] = {
    {"CancelLeavesARunningCountdownRunning",
     "cOption1|cCommand1|w10000|cCommand6|r1|w50000",
     {"cmd.exe /c shutdown -a", kShutDownIn3}},
};

SCRIPT_TESTS(QuickCommands, kQuickScripts);

}  // namespace
}  // namespace sim
