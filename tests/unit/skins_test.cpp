// The skin chooser sets main's picture from files beside the program.
#include "support/program.h"

namespace sim {
namespace {

const RecordedBox kConfirmed{"测试期间重新加载会重置皮肤！！", 0, "提示"};

class Skins : public ProgramTest {
 protected:
  void SetUp() override {
    startToMain();
    platform.files["C:\\Tools\\Tavimo\\星空.jpg"] = app::PictureSize{400, 300};
    platform.files["C:\\Tools\\Tavimo\\大海.jpg"] = app::PictureSize{200, 100};
    platform.files["C:\\Tools\\Tavimo\\天空.jpg"] = app::PictureSize{640, 480};
  }
  forms::Form1& chooser() { return app::instance<forms::Form1>(); }
};

TEST_F(Skins, MainIsDisabledExactlyWhileTheChooserIsLoaded) {
  steps("c换肤|f1|y0|c换肤");  // a disabled main takes no menu click
  EXPECT_EQ(platform.peer("Form1")->timesShown, 1);
  steps("CCommand1|f0|y1");
}

TEST_F(Skins, TheFileIsReadAgainAtEveryChoice) {
  steps("c换肤|COption1|CCommand1|p400");
  platform.files["C:\\Tools\\Tavimo\\星空.jpg"] = app::PictureSize{123, 45};
  steps("c换肤|COption1|CCommand1|p123");
}

TEST_F(Skins, AtADriveRootThePathHoldsTwoSeparators) {
  platform.appDir = "D:\\";
  platform.files["D:\\\\天空.jpg"] = app::PictureSize{10, 10};
  steps("c换肤|COption3|CCommand1|p10|b1");
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
  for (const auto& [option, file] : {std::pair{"Option2", "大海"}, {"Option3", "天空"}}) {
    platform.boxes.clear();
    steps(std::string("c换肤|C") + option + "|CCommand1|p480|f0|y1");
    ASSERT_EQ(platform.boxes.size(), 2u) << option;
    EXPECT_EQ(platform.boxes[0], kConfirmed);
    EXPECT_EQ(platform.boxes[1].style, 16);
    EXPECT_NE(platform.boxes[1].text.find(std::string("C:\\Tools\\Tavimo\\") + file),
              std::string::npos)
        << platform.boxes[1].text;
  }
}

TEST_F(Skins, OptionsAreExclusiveWithinTheirFrame) {
  // main's own options share another container; main is disabled, so the
  // click on its Option1 is ignored.
  steps("c换肤|COption1|COption3|cOption1");
  EXPECT_EQ(chooser().Option1().Value(), app::False);
  EXPECT_EQ(chooser().Option3().Value(), app::True);
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

SCRIPT_TESTS(Skins, kSkinScripts);

}  // namespace
}  // namespace sim
