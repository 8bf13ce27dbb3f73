// The window-system arithmetic every platform calls.
#include <gtest/gtest.h>

#include "app/twips.h"
#include "forms/main.h"

namespace {

TEST(Twips, ConvertWithTheWindowsOwnScale) {
  struct Case {
    double twips;
    app::Single perPixel;
    int pixels;
  };
  for (const Case& c : {Case{3570, 15, 238},
                        {4110, 15, 274},
                        {7545, 15, 503},
                        {8640, 10, 864},
                        {3570, 12, 298},
                        {1000, 7.5f, 133},
                        {7, 15, 0},
                        {8, 15, 1}}) {
    EXPECT_EQ(app::toPixels(c.twips, c.perPixel), c.pixels) << c.twips << " / " << c.perPixel;
  }
  EXPECT_EQ(app::toTwips(238, 15), 3570);
  EXPECT_EQ(app::toTwips(133, 7.5f), 997.5f);
  const app::PixelRect at = app::toPixels(*forms::main::storedLayout().find("Command5"), 10);
  EXPECT_EQ((std::vector{at.left, at.top, at.width, at.height}), (std::vector{240, 288, 110, 50}));
}

// A mouse event's buttons and shift keys are bits; the tray callback
// carries the mouse message in X.
TEST(Twips, MouseArguments) {
  EXPECT_EQ(app::trayCallbackX(0x203, 15), 7725);
  EXPECT_EQ(app::trayCallbackX(0x203, 12), 6180);
  EXPECT_EQ(app::trayCallbackX(0x203, 7.5f), 3862.5f);
  EXPECT_EQ(app::mouseButtons(true, false, false), 1);
  EXPECT_EQ(app::mouseButtons(false, true, true), 6);
  EXPECT_EQ(app::shiftKeys(true, false, true), 5);
  EXPECT_EQ(app::shiftKeys(false, true, false), 2);
}

TEST(Twips, AMessageBoxStyleNamesItsIconInBits16To64) {
  using I = app::MessageIcon;
  const std::vector<std::pair<int, I>> cases{
      {0, I::None},         {1, I::None},         {16, I::Error},
      {17, I::Error},       {32, I::Question},    {48, I::Warning},
      {64, I::Information}, {65, I::Information}, {0x80, I::None}};
  for (const auto& [style, icon] : cases) EXPECT_EQ(app::messageIcon(style), icon) << style;
}

TEST(Twips, ControlsAreMadeInTabOrder) {
  std::vector<std::string_view> names;
  for (const app::ControlLayout* c : app::tabOrder(forms::main::storedLayout()))
    if (c->tabIndex >= 0)
      names.push_back(c->name);
  EXPECT_EQ(names, (std::vector<std::string_view>{"Frame1", "Text1", "Label1", "Command1", "Frame2",
                                                  "Option1", "Option2", "Command2", "Command3",
                                                  "Command4", "Command5", "Command6", "Command7",
                                                  "Command8", "Command9"}));
  // A frame holding a control with no tab index, or a lower one, comes first.
  app::FormLayout form{
      .controls = {{.name = "Label1", .container = "Frame1"},
                   {.name = "Option1", .container = "Frame1", .tabIndex = 0},
                   {.name = "Frame1", .kind = app::ControlKind::Frame, .tabIndex = 1}}};
  names.clear();
  for (const app::ControlLayout* c : app::tabOrder(form)) names.push_back(c->name);
  EXPECT_EQ(names, (std::vector<std::string_view>{"Frame1", "Label1", "Option1"}));
}

}  // namespace
