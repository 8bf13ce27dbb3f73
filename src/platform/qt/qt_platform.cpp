#include "platform/qt/qt_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/application.h"
#include "app/twips.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/form_peer.h"
#include "platform/qt/pictures.h"
#include "platform/qt/title_bar.h"

namespace qtui {

QtPlatform::QtPlatform(CommandRunner& commands) : commands_(commands) {
  commands_.onRefused(
      [](const QString& text) { app::Application::current().requestRefused(text.toStdString()); });
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [] { app::Application::current().wake(); });
  describeWindowsToAssistiveTechnology();
}

QtPlatform::~QtPlatform() = default;

std::unique_ptr<app::WindowPeer> QtPlatform::createWindow(app::Form& form) {
  return std::make_unique<FormPeer>(form, windows_);
}

void QtPlatform::messageBox(const std::string& text, int style, const std::string& title) {
  // By app::MessageIcon: none, error, question, warning, information.
  constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                         QMessageBox::Question, QMessageBox::Warning,
                                         QMessageBox::Information};
  QMessageBox box(icons[static_cast<int>(app::messageIcon(style))], QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);                              // a reported path may hold '<'
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));  // the runtime's own word
  if (onWayland())  // Qt's decoration there cuts the caption short, as the forms' did
    addTitleBar(box);
  // A tick handler may be the caller: arm the timer for the next deadline
  // so ticks go on in the box's own loop.
  timersChanged();
  box.exec();
}

double QtPlatform::run(const app::CommandLine& command, app::WindowStyle) {
  commands_.run(command);
  return nextTask_++;
}

app::Picture QtPlatform::loadPicture(const std::string& path) {
  return loadPictureFile(fileInDirectory(path, applicationDirectory()));
}

app::Picture QtPlatform::builtinPicture(std::string_view name) {
  return loadBuiltinPicture(name);
}

std::string QtPlatform::applicationDirectory() {
  const QString dir = QCoreApplication::applicationDirPath();
  const QString real = QFileInfo(dir).canonicalFilePath();
  return QDir::toNativeSeparators(real.isEmpty() ? dir : real).toStdString();
}

std::chrono::nanoseconds QtPlatform::now() {
  return std::chrono::steady_clock::now().time_since_epoch();
}

void QtPlatform::timersChanged() {
  const auto left = app::Application::current().timeToNextTick();
  if (!left) {
    timer_.stop();
    return;
  }
  // The kernel may end a wait up to a thousandth of it late (timer slack),
  // a millisecond on a one-second tick: a long wait ends a little early
  // and the rest is waited again, so a tick is late by at most the
  // millisecond the timer counts in.
  auto wait = *left;
  if (wait > std::chrono::milliseconds(4))
    wait -= wait / 500 + std::chrono::milliseconds(2);
  timer_.start(static_cast<int>(std::min<long long>(wait.count(), 0x7FFFFFFF)));
}

void QtPlatform::end() {
  // Nothing may linger: the tray icon goes with the process.
  tray_.removeAll();
  timer_.stop();
  if (endAction_)
    endAction_();
  else
    QCoreApplication::exit(0);
}

}  // namespace qtui
