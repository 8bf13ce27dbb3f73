// The skin chooser sets main's picture from files beside the program.
#include "support/program.h"

namespace sim {
namespace {

const std::string kConfirm = "测试期间重新加载会重置皮肤！！";

class Skins : public ProgramTest {
 protected:
  void SetUp() override {
    startToMain();
    platform.files["C:\\Tools\\Tavimo\\星空.jpg"] = app::PictureSize{400, 300};
    platform.files["C:\\Tools\\Tavimo\\大海.jpg"] = app::PictureSize{200, 100};
    platform.files["C:\\Tools\\Tavimo\\天空.jpg"] = app::PictureSize{640, 480};
  }
  forms::Form1& chooser() { return app::instance<forms::Form1>(); }
  void open() { click("换肤"); }
  void choose(std::string_view option) { application.click(chooser(), option); }
  void ok() { application.click(chooser(), "Command1"); }
  void pick(std::string_view option) {
    open();
    choose(option);
    ok();
  }
  int mainPictureWidth() { return mainForm().picture()->widthPixels(); }
};

TEST_F(Skins, MainIsDisabledExactlyWhileTheChooserIsLoaded) {
  open();
  EXPECT_TRUE(platform.peer("Form1")->visible);
  EXPECT_FALSE(mainPeer().enabled);
  click("换肤");  // a disabled main takes no menu click
  EXPECT_EQ(platform.peer("Form1")->timesShown, 1);
  ok();
  EXPECT_EQ(platform.peer("Form1"), nullptr);
  EXPECT_TRUE(mainPeer().enabled);
}

TEST_F(Skins, OkWithNothingSelectedOnlyConfirmsAndCloses) {
  auto before = mainForm().picture();
  open();
  ok();
  EXPECT_EQ(platform.boxes, (Boxes{{kConfirm, 0, "提示"}}));
  EXPECT_EQ(mainForm().picture(), before);
  EXPECT_FALSE(chooser().loaded());
  EXPECT_TRUE(mainPeer().enabled);
}

TEST_F(Skins, EachOptionLoadsItsFileAfterTheConfirmation) {
  const std::vector<std::pair<std::string, int>> options{
      {"Option1", 400}, {"Option2", 200}, {"Option3", 640}};
  for (const auto& [option, width] : options) {
    open();
    choose(option);
    bool loadedBeforeConfirming = true;
    platform.answers.push_back([&](const RecordedBox&) {
      loadedBeforeConfirming = mainForm().picture()->widthPixels() == width;
    });
    ok();
    EXPECT_FALSE(loadedBeforeConfirming) << option;
    EXPECT_EQ(mainPictureWidth(), width) << option;
    EXPECT_EQ(mainPeer().picture, mainForm().picture()) << option;
  }
  EXPECT_TRUE(mainPeer().enabled);
}

TEST_F(Skins, TheFileIsReadAgainAtEveryChoice) {
  pick("Option1");
  platform.files["C:\\Tools\\Tavimo\\星空.jpg"] = app::PictureSize{123, 45};
  pick("Option1");
  EXPECT_EQ(mainPictureWidth(), 123);
}

TEST_F(Skins, AtADriveRootThePathHoldsTwoSeparators) {
  platform.appDir = "D:\\";
  platform.files["D:\\\\天空.jpg"] = app::PictureSize{10, 10};
  pick("Option3");
  EXPECT_EQ(mainPictureWidth(), 10);
  EXPECT_EQ(platform.boxes.size(), 1u);
}

TEST_F(Skins, ATrailingSeparatorIsDroppedElsewhere) {
  platform.appDir = "C:\\Tools\\Tavimo\\";
  EXPECT_EQ(app::AppPath(), "C:\\Tools\\Tavimo");
  platform.appDir = "/";
  EXPECT_EQ(app::AppPath(), "/");
}

TEST_F(Skins, AMissingOrBrokenFileIsNamedAndMainKeepsItsPicture) {
  platform.files.erase("C:\\Tools\\Tavimo\\大海.jpg");
  platform.files["C:\\Tools\\Tavimo\\天空.jpg"] = std::nullopt;  // not a picture
  auto before = mainForm().picture();
  for (const char* option : {"Option2", "Option3"}) {
    platform.boxes.clear();
    pick(option);
    ASSERT_EQ(platform.boxes.size(), 2u) << option;
    EXPECT_EQ(platform.boxes[0].text, kConfirm);
    EXPECT_EQ(platform.boxes[1].style, 16);
    EXPECT_NE(platform.boxes[1].text.find(std::string("C:\\Tools\\Tavimo\\") +
                                          (option == std::string("Option2") ? "大海" : "天空")),
              std::string::npos)
        << platform.boxes[1].text;
    EXPECT_EQ(mainForm().picture(), before);
    EXPECT_FALSE(chooser().loaded());
    EXPECT_TRUE(mainPeer().enabled);
  }
}

TEST_F(Skins, TheCloseBoxClosesWithoutMessageOrPicture) {
  auto before = mainForm().picture();
  open();
  choose("Option1");
  application.closeRequested(chooser(), app::UnloadMode::ControlMenu);
  EXPECT_FALSE(chooser().loaded());
  EXPECT_TRUE(mainPeer().enabled);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(mainForm().picture(), before);
}

TEST_F(Skins, EveryOpeningStartsFromTheStoredLayout) {
  open();
  choose("Option2");
  application.closeRequested(chooser(), app::UnloadMode::ControlMenu);
  open();
  EXPECT_EQ(chooser().Option1().Value(), app::False);
  EXPECT_EQ(chooser().Option2().Value(), app::False);
  EXPECT_EQ(chooser().Option3().Value(), app::False);
}

TEST_F(Skins, OptionsAreExclusiveWithinTheirFrame) {
  open();
  choose("Option1");
  choose("Option3");
  EXPECT_EQ(chooser().Option1().Value(), app::False);
  EXPECT_EQ(chooser().Option3().Value(), app::True);
  // main's own options share another container and are untouched.
  click("Option1");  // main is disabled: ignored
  EXPECT_EQ(mainForm().Option1().Value(), app::False);
}

TEST_F(Skins, TheHintChangesNothing) {
  open();
  choose("Option2");
  application.click(chooser(), "Label1");
  EXPECT_EQ(platform.boxes,
            (Boxes{{"如果你想使用自己的图片作为皮肤，那么可以将自己的皮肤替换成同个文件夹下的图片",
                    64, "自定义换肤"}}));
  EXPECT_TRUE(chooser().loaded());
  EXPECT_EQ(chooser().Option2().Value(), app::True);
}

TEST_F(Skins, TheCountdownRunsOnWhileTheChooserIsOpen) {
  application.click(mainForm(), "Option1");
  type("2");
  click("Command1");
  open();
  platform.advance(2s);
  EXPECT_EQ(commandLines(), std::vector<std::string>{"cmd.exe /c shutdown -s -t 3"});
}

}  // namespace
}  // namespace sim
