// The skin chooser sets main's picture from files beside the program.
#include "support/program.h"

namespace sim {
namespace {

const std::string kConfirm = "测试期间重新加载会重置皮肤！！";
const RecordedBox kConfirmed{kConfirm, 0, "提示"};

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

// main's built-in picture is 480 pixels wide, the skins 400, 200 and 640.
const Script kSkinScripts[] = {
    {"OkWithNothingSelectedOnlyConfirmsAndCloses", "c换肤|CCommand1|p480|f0|y1", {}, {kConfirmed}},
    // While the confirmation is open, main keeps the picture it had.
    {"EachOptionLoadsItsFileAfterTheConfirmation",
     "c换肤|COption1|ap480|CCommand1|p400|c换肤|COption2|ap400|CCommand1|p200|c换肤|COption3|ap200|"
     "CCommand1|p640|y1",
     {},
     {kConfirmed, kConfirmed, kConfirmed}},
    {"TheCloseBoxClosesWithoutMessageOrPicture", "c换肤|COption1|X|f0|y1|p480", {}},
    // A choice left on the option would load its skin.
    {"EveryOpeningStartsFromTheStoredLayout",
     "c换肤|COption2|X|c换肤|CCommand1|p480",
     {},
     {kConfirmed}},
    {"TheHintChangesNothing",
     "c换肤|COption2|CLabel1|f1|CCommand1|p200",
     {},
     {{"如果你想使用自己的图片作为皮肤，那么可以将自己的皮肤替换成同个文件夹下的图片", 64,
       "自定义换肤"},
      kConfirmed}},
    {"TheCountdownRunsOnWhileTheChooserIsOpen",
     "cOption1|t2|cCommand1|c换肤|w2000",
     {kShutDownIn3}},
};

class SkinScript : public Skins, public ::testing::WithParamInterface<Script> {};

TEST_P(SkinScript, Runs) {
  run(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinScript, ::testing::ValuesIn(kSkinScripts), nameOf);

}  // namespace
}  // namespace sim
