// The menu: the about box, the skin chooser, the notes and the forum page.
#include "app/application.h"
#include "app/command_line.h"
#include "forms/Form1.h"
#include "forms/GY.h"
#include "forms/main.h"

namespace forms {

namespace {
// The forum page the feedback command opens.
std::string forumAddress() {
  return "http://tieba.baidu.com/f?ie=utf-8&kw=" + app::percentEncode("关机工具");
}
}  // namespace

void main::说明_Click() {
  app::MsgBox("说明：因为系统重装，源码没有备份，这是重做后的，或许有BUG。",
              app::MsgBoxStyle::Information, "说明");
}

void main::关于_Click() {
  app::instance<GY>().Show();
}

void main::留言_Click() {
  app::MsgBox("希望你能添加喜欢这个吧", app::MsgBoxStyle::OkOnly);
  app::Shell(app::CommandLine::openAddress(forumAddress()), app::WindowStyle::Hidden);
}

void main::换肤_Click() {
  app::instance<Form1>().Show();
}

}  // namespace forms
