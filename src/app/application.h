// The form runtime: the project, default instances, event delivery,
// timers and the operations the handlers call.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "app/basic_types.h"
#include "app/command_line.h"
#include "app/event.h"
#include "app/form.h"
#include "app/picture.h"
#include "app/platform.h"
#include "app/runtime_error.h"

namespace app {

struct ProjectDescription {
  std::string_view title;  // the application title of message boxes
  std::function<std::unique_ptr<Form>()> startupForm;
};

class Application {
 public:
  Application(Platform& platform, const ProjectDescription& project);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application& current();
  Platform& platform() { return platform_; }
  const ProjectDescription& project() const { return project_; }
  bool ended() const { return ended_; }

  // Creates the start-up form, loads and shows it. The platform then runs
  // its message loop.
  void start();

  // The default instance of F, created on first reference and kept.
  template <class T>
  T& instance() {
    auto& slot = slots_[std::type_index(typeid(T))];
    if (!slot)
      slot = std::make_shared<T>();
    return *std::static_pointer_cast<T>(slot);
  }

  // Every form instance there is, the start-up form first.
  std::vector<Form*> forms() const { return forms_; }
  void registerForm(Form& form);
  void forgetForm(Form& form);

  // Events from the platform. Each runs one handler to its end, reports a
  // runtime error that escapes it, and does nothing once the program ended
  // or while the form is disabled.
  void click(Form& form, std::string_view control);
  void edited(Form& form, std::string_view control, std::string text);
  void mouseMove(Form& form, Integer button, Integer shift, Single x, Single y);
  void closeRequested(Form& form, Integer unloadMode);
  void wake();  // runs the timers that are due

  std::optional<std::chrono::nanoseconds> nextDeadline() const;
  // What a platform arms its one timer with: rounded up, never negative.
  std::optional<std::chrono::milliseconds> timeToNextTick() const;

  // Stops the program: no further events, the platform ends the process.
  void end();
  // Shows a runtime error's message box, unless the program ended.
  void report(const RuntimeError& error);
  Long lastDllError = 0;

 private:
  template <class Action>
  void guarded(Action action);
  template <class Action>
  void entry(Form* form, Action action);

  Platform& platform_;
  const ProjectDescription& project_;
  std::unique_ptr<Form> startup_;
  std::map<std::type_index, std::shared_ptr<void>> slots_;
  std::vector<Form*> forms_;
  bool ended_ = false;
  int depth_ = 0;
};

// The operations as the handlers call them.
template <class T>
T& instance() {
  return Application::current().instance<T>();
}
void MsgBox(const std::string& text, int style = 0,
            std::optional<std::string> title = std::nullopt);
double Shell(const CommandLine& command, WindowStyle style);
Picture LoadPicture(const std::string& path);
std::string AppPath();
[[noreturn]] void End();

namespace MsgBoxStyle {
inline constexpr int OkOnly = 0;
inline constexpr int Critical = 16;
inline constexpr int Information = 64;
}  // namespace MsgBoxStyle

}  // namespace app
