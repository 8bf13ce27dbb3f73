#include "forms/HY.h"

#include "app/application.h"
#include "app/system_constants.h"
#include "forms/Module1.h"
#include "forms/main.h"

namespace forms {

namespace {
constexpr app::Colour kColourKey = app::RGB(88, 88, 88);
}

HY::HY() : app::Form(storedLayout()) {}

const app::FormLayout& HY::storedLayout() {
  using K = app::ControlKind;
  static const app::FormLayout layout{.name = "HY",
                                      .caption = "",
                                      .border = app::Border::None,
                                      .controlBox = false,
                                      .showInTaskbar = false,
                                      .clientWidth = 7545,
                                      .clientHeight = 3000,
                                      .picture = "splash.gif",
                                      .icon = "app.ico",
                                      .controls = {
                                          // clang-format off
                                          {.name = "Timer1", .kind = K::Timer, .container = "HY", .enabled = true, .interval = 1000},
                                          {.name = "Label3", .kind = K::Label, .container = "HY", .caption = "绿色免安装版", .left = 0, .top = 240, .width = 1575, .height = 255, .tabIndex = 2, .foreColor = app::SystemColour::InactiveBorder, .transparent = true},
                                          {.name = "Label2", .kind = K::Label, .container = "HY", .caption = "作者：Tavimo", .left = 0, .top = 0, .width = 1575, .height = 255, .tabIndex = 1, .foreColor = app::RGB(255, 0, 0), .transparent = true},
                                          {.name = "Label1", .kind = K::Label, .container = "HY", .caption = "关机工具V3.6.0", .left = 5760, .top = 2640, .width = 1575, .height = 255, .tabIndex = 0, .foreColor = app::RGB(255, 255, 255), .transparent = true},
                                          // clang-format on
                                      }};
  return layout;
}

void HY::raise(app::Event& event) {
  static const std::vector<app::Handler<HY>> handlers{
      {app::EventKind::Load, "", [](HY& f, app::Event&) { f.Form_Load(); }},
      {app::EventKind::Timer, "Timer1", [](HY& f, app::Event&) { f.Timer1_Timer(); }},
  };
  app::dispatch(*this, handlers, event);
}

void HY::Form_Load() {
  using namespace app;  // the system constants
  setBackColor(kColourKey);
  auto& module = app::instance<Module1>();
  module.SetWindowPos(hWnd(), InsertAfter::Topmost, 0, 0, 0, 0,
                      WindowPos::NoMove | WindowPos::NoSize);
  Long style = module.GetWindowLongA(hWnd(), WindowLong::ExStyle);
  module.SetWindowLongA(hWnd(), WindowLong::ExStyle, style | ExStyle::Layered);
  module.SetLayeredWindowAttributes(hWnd(), static_cast<Long>(kColourKey), 0, Layered::ColourKey);
}

void HY::Timer1_Timer() {
  Unload();
  app::instance<main>().Show();
}

}  // namespace forms
