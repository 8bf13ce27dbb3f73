// Each quick button hands the system one fixed command; nothing else.
#include "app/application.h"
#include "forms/main.h"

namespace forms {

namespace {
void shutDownAfter(int seconds) {
  app::Shell(app::CommandLine::shutDownAfter(seconds), app::WindowStyle::MinimizedFocus);
}
}  // namespace

void main::Command2_Click() {
  shutDownAfter(60);
}
void main::Command7_Click() {
  shutDownAfter(1800);
}
void main::Command3_Click() {
  shutDownAfter(3600);
}
void main::Command8_Click() {
  shutDownAfter(7200);
}
void main::Command4_Click() {
  shutDownAfter(10800);
}
void main::Command9_Click() {
  shutDownAfter(18000);
}

void main::Command6_Click() {
  app::Shell(app::CommandLine::abortShutdown(), app::WindowStyle::MinimizedFocus);
}

}  // namespace forms
