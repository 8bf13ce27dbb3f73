// The program on the Qt platform, started in a test, with its requests
// recorded and its message boxes answered.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/application.h"
#include "forms/Form1.h"
#include "forms/GY.h"
#include "forms/Module1.h"
#include "forms/main.h"
#include "forms/project.h"
#include "platform/qt/command_runner.h"
#include "platform/qt/form_window.h"
#include "platform/qt/qt_platform.h"

// Failures print Chinese text, not QChar bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << text.toStdString();
}

namespace qttest {

class RecordingRunner : public qtui::CommandRunner {
 public:
  void run(const app::CommandLine& command) override { commands.push_back(command); }
  std::vector<app::CommandLine> commands;
};

struct SeenBox {
  QString title;
  QString text;
  QMessageBox::Icon icon;
  QString button;
};

// Answers every message box that opens (OK), once ready() holds, and
// remembers what it said.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::function<bool()> ready = {}) : ready_(std::move(ready)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible() || (ready_ && !ready_()))
        return;
      boxes.push_back(
          {box->windowTitle(), box->text(), box->icon(), box->button(QMessageBox::Ok)->text()});
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start();
  }
  std::vector<SeenBox> boxes;

 private:
  std::function<bool()> ready_;
  QTimer timer_;
};

// The program on the Qt platform, its requests going to a Runner made
// with the given arguments.
template <class Runner>
struct Running {
  template <class... Args>
  explicit Running(Args&&... args) : commands(std::forward<Args>(args)...) {}
  ~Running() {
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // The splash's timer would take a second; tests that are not about the
  // splash show main the way the splash's timer does.
  void showMain() {
    enter([] { app::instance<forms::main>().Show(); });
  }

  // Runs core code the way an event would, reporting its runtime errors.
  void enter(const std::function<void()>& action) {
    try {
      action();
    } catch (const app::RuntimeError& error) {
      application.report(error);
    }
  }

  // Chooses a mode, types the seconds as the user does, presses 开始计时.
  void startCountdown(std::string_view mode, const QString& seconds) {
    widget<QAbstractButton>(mainForm(), mode)->click();
    widget<QLineEdit>(mainForm(), "Text1")->selectAll();
    QTest::keyClicks(widget(mainForm(), "Text1"), seconds);
    widget<QAbstractButton>(mainForm(), "Command1")->click();
  }

  forms::main& mainForm() { return app::instance<forms::main>(); }
  qtui::FormWindow* window(app::Form& form) {
    return form.loaded() ? platform.windows().find(form.hWnd()) : nullptr;
  }
  template <class W = QWidget>
  W* widget(app::Form& form, std::string_view name) {
    return qobject_cast<W*>(window(form)->controlWidget(name));
  }

  Runner commands;
  qtui::QtPlatform platform{commands};
  app::Application application{platform, forms::project()};
};

class QtProgram : public ::testing::Test, public Running<RecordingRunner> {};

}  // namespace qttest
