// The tray icon: added when the window loads, a double-click on it brings
// the hidden window back and removes it.
#include "app/application.h"
#include "app/conversions.h"
#include "forms/Module1.h"
#include "forms/main.h"

namespace forms {

void main::Form_Load() {
  auto& module = app::instance<Module1>();
  auto& tray = module.TrayIconData;
  tray.cbSize = 28;
  tray.uID = 1;
  tray.hWnd = hWnd();
  tray.uFlags = app::NotifyIcon::FlagMessage | app::NotifyIcon::FlagIcon | app::NotifyIcon::FlagTip;
  tray.uCallbackMessage = app::MouseMessage::Move;
  tray.hIcon = Icon() ? Icon()->handle() : 0;
  module.Shell_NotifyIcon(app::NotifyIcon::Add, tray);
  iconInTray_ = true;
}

void main::Command5_Click() {
  Hide();
  // After a restore removed the icon, a hidden window needs it back to be
  // reachable at all.
  if (!iconInTray_) {
    auto& module = app::instance<Module1>();
    module.Shell_NotifyIcon(app::NotifyIcon::Add, module.TrayIconData);
    iconInTray_ = true;
  }
  app::MsgBox("已最小化！可以双击任务栏的图标重新呼出！", app::MsgBoxStyle::Information,
              "最小化！");
}

// Tray events arrive as mouse moves whose X carries the mouse message
// times the twips per pixel.
void main::Form_MouseMove(Integer&, Integer&, Single& X, Single&) {
  if (app::CLng(X / app::TwipsPerPixelX()) == app::MouseMessage::LeftDoubleClick) {
    Show();
    auto& module = app::instance<Module1>();
    module.Shell_NotifyIcon(app::NotifyIcon::Delete, module.TrayIconData);
    iconInTray_ = false;
  }
}

}  // namespace forms
