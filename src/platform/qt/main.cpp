// Tavimo 关机工具 on Linux: the core's forms realised with Qt Widgets.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <cstdlib>

#include "app/application.h"
#include "forms/project.h"
#include "platform/qt/caret_blink.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/system_commands.h"

namespace {

bool hasWaylandPlugin() {
  for (const QString& dir : QCoreApplication::libraryPaths())
    if (!QDir(dir + QStringLiteral("/platforms"))
             .entryList({QStringLiteral("libqwayland-*")}, QDir::Files)
             .isEmpty())
      return true;
  return false;
}

// On a Wayland session run natively; XWayland only where Qt's Wayland
// plugin is not installed, without Qt's warning that it is missing. A
// platform the user chose stays.
void preferWaylandOnWayland() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland && *wayland)
    setenv("QT_QPA_PLATFORM", hasWaylandPlugin() ? "wayland;xcb" : "xcb", 0);
}

}  // namespace

int main(int argc, char* argv[]) {
  preferWaylandOnWayland();
  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tavimo-shutdown"));
  QApplication::setApplicationDisplayName(QString());
  // Wayland compositors match the windows to the desktop entry by this name.
  QApplication::setDesktopFileName(QStringLiteral("io.github.tavimo.shutdown"));
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
