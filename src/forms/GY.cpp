#include "forms/GY.h"

namespace forms {

GY::GY() : app::Form(storedLayout()) {}

const app::FormLayout& GY::storedLayout() {
  using K = app::ControlKind;
  static const app::FormLayout layout{
      .name = "GY",
      .caption = "关于",
      .controlBox = false,
      .clientWidth = 8640,
      .clientHeight = 2955,
      .backColor = app::RGB(255, 0, 0),
      .picture = "about.bmp",
      .icon = "app.ico",
      .controls = {
          // clang-format off
          {.name = "Command1", .kind = K::Button, .container = "GY", .caption = "确定", .left = 6720, .top = 2400, .width = 1455, .height = 375, .tabIndex = 1},
          {.name = "Label2", .kind = K::Label, .container = "GY", .caption = "绿色免安装版", .left = 0, .top = 0, .width = 1935, .height = 255, .tabIndex = 2, .transparent = true},
          {.name = "Label1", .kind = K::Label, .container = "GY", .caption = "V3.6.0版本更新：增加皮肤替换功能！（仅测试中。。。）" "预计接下来两次更新会将换肤功能完善，感谢您的支持！", .left = 6720, .top = 240, .width = 1575, .height = 2295, .tabIndex = 0, .foreColor = app::SystemColour::InactiveBorder, .transparent = true, .wordWrap = true, .font = app::FontSpec{.face = "微软雅黑", .points = 9, .bold = true, .charset = 134}},
          // clang-format on
      }};
  return layout;
}

void GY::raise(app::Event& event) {
  static const std::vector<app::Handler<GY>> handlers{
      {app::EventKind::Click, "Command1", [](GY& f, app::Event&) { f.Command1_Click(); }},
  };
  app::dispatch(*this, handlers, event);
}

void GY::Command1_Click() {
  Unload();
}

}  // namespace forms
