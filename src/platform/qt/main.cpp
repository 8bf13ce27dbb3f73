// Tavimo 关机工具 on Linux: the core's forms realised with Qt Widgets.
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <cstdlib>

#include "app/application.h"
#include "forms/project.h"
#include "platform/qt/caret_blink.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/system_commands.h"

namespace {

// Centring and stay-on-top need X11; on a Wayland session use XWayland
// unless the user chose a platform.
void preferXcbOnWayland() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* display = std::getenv("DISPLAY");
  if (wayland && *wayland && display && *display && !std::getenv("QT_QPA_PLATFORM"))
    setenv("QT_QPA_PLATFORM", "xcb;wayland", 0);  // Wayland only without XWayland
}

}  // namespace

int main(int argc, char* argv[]) {
  preferXcbOnWayland();
  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tavimo-shutdown"));
  QApplication::setApplicationDisplayName(QString());
  QApplication::setDesktopFileName(QStringLiteral("tavimo-shutdown"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/builtin/app.ico")));
  QFont font = QApplication::font();
  font.setPointSize(9);  // the forms were laid out for 9-point text
  QApplication::setFont(font);
  // The program ends through its close sequence only.
  QApplication::setQuitOnLastWindowClosed(false);

  qtui::CaretBlinkLimiter caret;
  qtui::SystemCommands commands;
  qtui::QtPlatform platform(commands);
  app::Application application(platform, forms::project());
  application.start();
  return QApplication::exec();
}
