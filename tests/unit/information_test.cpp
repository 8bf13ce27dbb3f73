// The about box and the notes and feedback commands.
#include "support/program.h"

namespace sim {
namespace {

class Information : public ProgramTest {
 protected:
  void SetUp() override { startToMain(); }
  forms::GY& about() { return app::instance<forms::GY>(); }
};

TEST_F(Information, OneAboutBoxHoweverOftenItIsChosen) {
  click("关于");
  SimPeer* box = platform.peer("GY");
  ASSERT_NE(box, nullptr);
  click("关于");
  EXPECT_EQ(platform.peer("GY"), box);
  EXPECT_EQ(box->timesShown, 2);  // brought to the front again
  EXPECT_EQ(std::ranges::count(platform.windowLog, "create GY"), 1);
}

TEST_F(Information, ItsButtonClosesOnlyTheAboutBox) {
  application.click(mainForm(), "Option2");
  type("5");
  click("Command1");
  click("关于");
  application.click(about(), "Command1");
  EXPECT_FALSE(about().loaded());
  EXPECT_EQ(platform.peer("GY"), nullptr);
  EXPECT_TRUE(mainPeer().visible);
  platform.advance(5s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{"cmd.exe /c shutdown -r -t 3"});
  click("关于");  // opens fresh again
  EXPECT_EQ(platform.peer("GY")->timesShown, 1);
  EXPECT_EQ(about().control("Label2").Text(), "绿色免安装版");
}

TEST_F(Information, HidingMainLeavesTheAboutBoxWhereItIs) {
  click("关于");
  click("Command5");
  EXPECT_TRUE(platform.peer("GY")->visible);
}

TEST_F(Information, FeedbackAsksFirstThenOpensTheForumHidden) {
  bool openedBeforeClosing = false;
  platform.answers.push_back([&] { openedBeforeClosing = !platform.commands.empty(); });
  click("留言");
  // Titled with the application title.
  EXPECT_EQ(platform.boxes, (Boxes{{"希望你能添加喜欢这个吧", 0, "Tavimo关机工具"}}));
  EXPECT_FALSE(openedBeforeClosing);
  ASSERT_EQ(platform.commands.size(), 1u);
  EXPECT_EQ(platform.commands[0].style, app::WindowStyle::Hidden);
  EXPECT_EQ(platform.commands[0].command.kind(), app::CommandLine::Kind::OpenAddress);
  EXPECT_EQ(platform.commands[0].command.address(),
            "http://tieba.baidu.com/f?ie=utf-8&kw=%E5%85%B3%E6%9C%BA%E5%B7%A5%E5%85%B7");
  // No "&" or "%" left for cmd.exe to act on.
  EXPECT_EQ(platform.commands[0].command.text(),
            "cmd.exe /c start http://tieba.baidu.com/f?ie=utf-8^&kw="
            "%^E5%^85%^B3%^E6%^9C%^BA%^E5%^B7%^A5%^E5%^85%^B7");
}

const Script kInformationScripts[] = {
    {"MainStaysUsableWhileTheAboutBoxIsOpen",
     "c关于|y1|cCommand2",
     {"cmd.exe /c shutdown -s -t 60"}},
    {"NotesShowTheirMessageOnly", "c说明", {}, {kNotes}},
};

SCRIPT_TESTS(Information, kInformationScripts);

}  // namespace
}  // namespace sim
