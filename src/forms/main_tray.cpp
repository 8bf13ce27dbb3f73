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
  iconInTray_ = module.Shell_NotifyIcon(app::NotifyIcon::Add, tray) != 0;
}

void main::Command5_Click() {
  // After a restore removed the icon, or the shell refused it at start, a
  // hidden window needs it to be reachable at all; the window system only
  // hides a window whose icon is there.
  if (!iconInTray_) {
    auto& module = app::instance<Module1>();
    iconInTray_ = module.Shell_NotifyIcon(app::NotifyIcon::Add, module.TrayIconData) != 0;
  }
  Hide();
  app::MsgBox("已最小化！可以双击任务栏的图标重新呼出！", app::MsgBoxStyle::Information,
              "最小化！");
}

// Tray events arrive as mouse moves whose X carries the mouse message
// times the window's own twips per pixel.
void main::Form_MouseMove(Integer&, Integer&, Single& X, Single&) {
  if (app::CLng(X / twipsPerPixel()) == app::MouseMessage::LeftDoubleClick) {
    Show();
    auto& module = app::instance<Module1>();
    module.Shell_NotifyIcon(app::NotifyIcon::Delete, module.TrayIconData);
    iconInTray_ = false;
  }
}

}  // namespace forms
