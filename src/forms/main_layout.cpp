#include "app/basic_types.h"
#include "forms/main.h"

namespace forms {

const app::FormLayout& main::storedLayout() {
  using K = app::ControlKind;
  static const app::FormLayout layout{
      .name = "main",
      .caption = "<Tavimo> 关机工具 ",
      .clientWidth = 3570,
      .clientHeight = 4110,
      .picture = "main.jpg",
      .icon = "app.ico",
      .controls = {
          // clang-format off
          {.name = "Command9", .kind = K::Button, .container = "main", .caption = "5小时关机", .left = 1920, .top = 2040, .width = 1455, .height = 375, .tabIndex = 14},
          {.name = "Command8", .kind = K::Button, .container = "main", .caption = "2小时关机", .left = 1920, .top = 1560, .width = 1455, .height = 375, .tabIndex = 13},
          {.name = "Command7", .kind = K::Button, .container = "main", .caption = "30分钟关机", .left = 1920, .top = 1080, .width = 1455, .height = 375, .tabIndex = 12},
          {.name = "Command6", .kind = K::Button, .container = "main", .caption = "取消快捷按钮关机", .left = 120, .top = 2520, .width = 3255, .height = 375, .tabIndex = 11},
          {.name = "Command5", .kind = K::Button, .container = "main", .caption = "最小化到任务栏", .left = 2400, .top = 2880, .width = 1095, .height = 495, .tabIndex = 10},
          {.name = "Command4", .kind = K::Button, .container = "main", .caption = "3小时关机", .left = 120, .top = 2040, .width = 1455, .height = 375, .tabIndex = 9},
          {.name = "Command3", .kind = K::Button, .container = "main", .caption = "1小时关机", .left = 120, .top = 1560, .width = 1455, .height = 375, .tabIndex = 8},
          {.name = "Command2", .kind = K::Button, .container = "main", .caption = "六十秒关机", .left = 120, .top = 1080, .width = 1455, .height = 375, .tabIndex = 7},
          {.name = "Frame2", .kind = K::Frame, .container = "main", .caption = "选择模式", .left = 2160, .top = 120, .width = 1335, .height = 975, .tabIndex = 4},
          {.name = "Timer1", .kind = K::Timer, .container = "Frame2", .enabled = false, .interval = 1000},
          {.name = "Option2", .kind = K::OptionButton, .container = "Frame2", .caption = "重启", .left = 120, .top = 480, .width = 975, .height = 375, .tabIndex = 6},
          {.name = "Option1", .kind = K::OptionButton, .container = "Frame2", .caption = "关机", .left = 120, .top = 240, .width = 1095, .height = 255, .tabIndex = 5},
          {.name = "Command1", .kind = K::Button, .container = "main", .caption = "开始计时", .left = 120, .top = 2880, .width = 2175, .height = 495, .tabIndex = 3},
          {.name = "Frame1", .kind = K::Frame, .container = "main", .caption = "时间设定（秒）", .left = 120, .top = 120, .width = 1935, .height = 975, .tabIndex = 0, .backColor = app::SystemColour::InactiveBorder},
          {.name = "Text1", .kind = K::TextBox, .container = "Frame1", .caption = "60", .left = 120, .top = 360, .width = 1695, .height = 270, .tabIndex = 1},
          {.name = "ULD", .kind = K::Timer, .container = "main", .enabled = false, .interval = 30},
          {.name = "Label1", .kind = K::Label, .container = "main", .caption = "V3.6.0更新说明：图标更新，同时贴吧求喜欢。开始测试换肤功能", .left = 120, .top = 3600, .width = 3375, .height = 495, .tabIndex = 2, .foreColor = app::RGB(255, 0, 0), .transparent = true, .wordWrap = true},
          {.name = "Line1", .kind = K::Line, .container = "main", .x1 = 0, .y1 = 3480, .x2 = 3600, .y2 = 3480},
          {.name = "说明", .kind = K::MenuItem, .container = "main", .caption = "说明"},
          {.name = "关于", .kind = K::MenuItem, .container = "main", .caption = "关于"},
          {.name = "留言", .kind = K::MenuItem, .container = "main", .caption = "贴吧求喜欢"},
          {.name = "换肤", .kind = K::MenuItem, .container = "main", .caption = "换肤"},
          // clang-format on
      }};
  return layout;
}

}  // namespace forms
