#include "app/application.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace app {

namespace {
Application* g_current = nullptr;
}

Application::Application(Platform& platform, const ProjectDescription& project)
    : platform_(platform), project_(project) {
  assert(g_current == nullptr);
  g_current = this;
}

Application::~Application() {
  slots_.clear();
  startup_.reset();
  g_current = nullptr;
}

Application& Application::current() {
  assert(g_current != nullptr);
  return *g_current;
}

void Application::registerForm(Form& form) {
  forms_.push_back(&form);
}

void Application::forgetForm(Form& form) {
  std::erase(forms_, &form);
}

// Runs one event from the platform: no exception may unwind into its
// message loop. When the outermost event leaves no form loaded, the
// program has no window left to be reached by, and ends.
template <class Action>
void Application::guarded(Action action) {
  ++depth_;
  try {
    action();
  } catch (const RuntimeError& error) {
    report(error);
  } catch (const EndRequested&) {
  } catch (const std::exception&) {
    report(RuntimeError::internal());
  }
  --depth_;
  if (depth_ == 0 && !ended_ &&
      std::none_of(forms_.begin(), forms_.end(), [](Form* f) { return f->loaded(); })) {
    end();
  }
}

template <class Action>
void Application::entry(Form* form, Action action) {
  if (ended_)
    return;
  if (form != nullptr && !form->acceptsInput())
    return;
  guarded(action);
}

void Application::start() {
  entry(nullptr, [this] {
    startup_ = project_.startupForm();
    startup_->Show();
  });
}

void Application::click(Form& form, std::string_view control) {
  entry(&form, [&] {
    Control& c = form.control(control);
    if (c.kind() == ControlKind::OptionButton)
      c.setValue(True);
    Event click{EventKind::Click, c.name()};
    form.raise(click);
  });
}

void Application::edited(Form& form, std::string_view control, std::string text) {
  entry(&form, [&] {
    Control& c = form.control(control);
    c.userEdited(std::move(text));
    Event change{EventKind::Change, c.name()};
    form.raise(change);
  });
}

void Application::mouseMove(Form& form, Integer button, Integer shift, Single x, Single y) {
  entry(&form, [&] {
    Event move{EventKind::MouseMove, {}};
    move.button = button;
    move.shift = shift;
    move.x = x;
    move.y = y;
    form.raise(move);
  });
}

void Application::closeRequested(Form& form, Integer unloadMode) {
  // A disabled window's close box does nothing, as on Windows; the
  // session's end reaches it all the same.
  if (ended_ || !form.loaded() || (unloadMode == UnloadMode::ControlMenu && !form.acceptsInput()))
    return;
  guarded([&] { form.Unload(unloadMode); });
}

void Application::wake() {
  if (ended_)
    return;
  const auto now = platform_.now();
  struct Due {
    Form* form;
    std::string_view timer;
    std::chrono::nanoseconds at;
  };
  std::vector<Due> due;
  for (Form* form : forms_) {
    if (!form->loaded())
      continue;
    for (auto& c : form->controls())
      if (c.timerRunning() && c.due() <= now)
        due.push_back({form, c.name(), c.due()});
  }
  std::stable_sort(due.begin(), due.end(), [](auto& a, auto& b) { return a.at < b.at; });

  for (const Due& d : due) {
    if (ended_)
      return;
    Control* timer = d.form->findLoaded(d.timer);
    if (timer == nullptr || !timer->timerRunning() || timer->due() > now)
      continue;
    timer->advanceDue(now);
    // A tick still running (behind a message box) is not entered again.
    if (timer->ticking)
      continue;
    timer->ticking = true;
    if (!ended_) {
      guarded([&] {
        Event tick{EventKind::Timer, d.timer};
        d.form->raise(tick);
      });
    }
    if (Control* again = d.form->findLoaded(d.timer))
      again->ticking = false;
  }
  if (!ended_)
    platform_.timersChanged();
}

void Application::requestRefused(const std::string& text) {
  entry(nullptr, [&] { MsgBox(text, MsgBoxStyle::Critical, std::nullopt); });
}

std::optional<std::chrono::nanoseconds> Application::nextDeadline() const {
  std::optional<std::chrono::nanoseconds> next;
  if (ended_)
    return next;
  for (Form* form : forms_) {
    if (!form->loaded())
      continue;
    for (auto& c : form->controls())
      if (c.timerRunning() && (!next || c.due() < *next))
        next = c.due();
  }
  return next;
}

std::optional<std::chrono::milliseconds> Application::timeToNextTick() const {
  auto next = nextDeadline();
  if (!next)
    return std::nullopt;
  auto left = std::chrono::ceil<std::chrono::milliseconds>(*next - platform_.now());
  return std::max(left, std::chrono::milliseconds::zero());
}

void Application::end() {
  ended_ = true;
  platform_.end();
}

void Application::report(const RuntimeError& error) {
  if (ended_)
    return;
  platform_.messageBox(error.report(), MsgBoxStyle::Critical, std::string(project_.title));
}

void MsgBox(const std::string& text, int style, std::optional<std::string> title) {
  Application& app = Application::current();
  app.platform().messageBox(text, style, title ? *title : std::string(app.project().title));
  // The program may have ended while the box was open.
  if (app.ended())
    throw EndRequested{};
}

double Shell(const CommandLine& command, WindowStyle style) {
  return Application::current().platform().run(command, style);
}

Picture LoadPicture(const std::string& path) {
  return Application::current().platform().loadPicture(path);
}

std::string AppPath() {
  std::string dir = Application::current().platform().applicationDirectory();
  auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  bool root = dir.size() <= 1 || (dir.size() == 3 && dir[1] == ':');
  if (!root && isSeparator(dir.back()))
    dir.pop_back();
  return dir;
}

void End() {
  Application::current().end();
  throw EndRequested{};
}
}  // namespace app
