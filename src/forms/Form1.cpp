#include "forms/Form1.h"

#include <string>

#include "app/application.h"
#include "forms/main.h"

namespace forms {

Form1::Form1() : app::Form(storedLayout()) {}

const app::FormLayout& Form1::storedLayout() {
  using K = app::ControlKind;
  static const app::FormLayout layout{.name = "Form1",
                                      .caption = "换肤（测试中）",
                                      .clientWidth = 3165,
                                      .clientHeight = 2970,
                                      .icon = "form1.ico",
                                      .controls = {
                                          // clang-format off
                                          {.name = "Frame1", .kind = K::Frame, .container = "Form1", .caption = "皮肤", .left = 120, .top = 120, .width = 2895, .height = 1815, .tabIndex = 0},
                                          {.name = "Option1", .kind = K::OptionButton, .container = "Frame1", .caption = "星空主题", .left = 240, .top = 360, .width = 2415, .height = 375, .tabIndex = 1},
                                          {.name = "Option2", .kind = K::OptionButton, .container = "Frame1", .caption = "大海主题", .left = 240, .top = 840, .width = 2175, .height = 375, .tabIndex = 2},
                                          {.name = "Option3", .kind = K::OptionButton, .container = "Frame1", .caption = "天空主题", .left = 240, .top = 1440, .width = 2415, .height = 255, .tabIndex = 3},
                                          {.name = "Command1", .kind = K::Button, .container = "Form1", .caption = "确定", .left = 120, .top = 2040, .width = 2895, .height = 495, .tabIndex = 4},
                                          {.name = "Label1", .kind = K::Label, .container = "Form1", .caption = "想要自定义皮肤的点这里。", .left = 120, .top = 2640, .width = 3015, .height = 255, .tabIndex = 5},
                                          // clang-format on
                                      }};
  return layout;
}

void Form1::raise(app::Event& event) {
  using K = app::EventKind;
  using E = app::Event;
  static const std::vector<app::Handler<Form1>> handlers{
      {K::Load, "", [](Form1& f, E&) { f.Form_Load(); }},
      {K::Unload, "", [](Form1& f, E& e) { f.Form_Unload(e.cancel); }},
      {K::Click, "Command1", [](Form1& f, E&) { f.Command1_Click(); }},
      {K::Click, "Label1", [](Form1& f, E&) { f.Label1_Click(); }},
  };
  app::dispatch(*this, handlers, event);
}

void Form1::Form_Load() {
  app::instance<main>().setEnabled(app::False);
}

void Form1::Form_Unload(app::Integer&) {
  app::instance<main>().setEnabled(app::True);
}

void Form1::Command1_Click() {
  app::MsgBox("测试期间重新加载会重置皮肤！！", app::MsgBoxStyle::OkOnly, "提示");
  if (Option1().Value() == app::True) {
    applySkin("\\星空.jpg");
  } else if (Option2().Value() == app::True) {
    applySkin("\\大海.jpg");
  }
  if (Option3().Value() == app::True)
    applySkin("\\天空.jpg");
  Unload();
}

void Form1::Label1_Click() {
  app::MsgBox("如果你想使用自己的图片作为皮肤，那么可以将自己的皮肤替换成同个文件夹下的图片",
              app::MsgBoxStyle::Information, "自定义换肤");
}

// A skin that does not load is reported; main keeps its picture and the
// chooser still closes, so main is enabled again.
void Form1::applySkin(std::string_view suffix) {
  try {
    app::instance<main>().setPicture(app::LoadPicture(app::AppPath() + std::string(suffix)));
  } catch (const app::RuntimeError& error) {
    app::Application::current().report(error);
  }
}

}  // namespace forms
