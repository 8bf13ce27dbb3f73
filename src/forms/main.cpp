#include "forms/main.h"

#include "app/application.h"

namespace forms {

main::main() : app::Form(storedLayout()) {}

void main::raise(app::Event& event) {
  using K = app::EventKind;
  using E = app::Event;
  static const std::vector<app::Handler<main>> handlers{
      {K::Load, "", [](main& f, E&) { f.Form_Load(); }},
      {K::MouseMove, "", [](main& f, E& e) { f.Form_MouseMove(e.button, e.shift, e.x, e.y); }},
      {K::QueryUnload, "", [](main& f, E& e) { f.Form_QueryUnload(e.cancel, e.unloadMode); }},
      {K::Click, "Command2", [](main& f, E&) { f.Command2_Click(); }},
      {K::Click, "Command3", [](main& f, E&) { f.Command3_Click(); }},
      {K::Click, "Command4", [](main& f, E&) { f.Command4_Click(); }},
      {K::Click, "Command6", [](main& f, E&) { f.Command6_Click(); }},
      {K::Click, "Command7", [](main& f, E&) { f.Command7_Click(); }},
      {K::Click, "Command8", [](main& f, E&) { f.Command8_Click(); }},
      {K::Click, "Command9", [](main& f, E&) { f.Command9_Click(); }},
      {K::Click, "Command1", [](main& f, E&) { f.Command1_Click(); }},
      {K::Change, "Text1", [](main& f, E&) { f.Text1_Change(); }},
      {K::Timer, "Timer1", [](main& f, E&) { f.Timer1_Timer(); }},
      {K::Click, "Command5", [](main& f, E&) { f.Command5_Click(); }},
      {K::Timer, "ULD", [](main& f, E&) { f.ULD_Timer(); }},
      {K::Click, "关于", [](main& f, E&) { f.关于_Click(); }},
      {K::Click, "换肤", [](main& f, E&) { f.换肤_Click(); }},
      {K::Click, "留言", [](main& f, E&) { f.留言_Click(); }},
      {K::Click, "说明", [](main& f, E&) { f.说明_Click(); }},
  };
  app::dispatch(*this, handlers, event);
}

}  // namespace forms
