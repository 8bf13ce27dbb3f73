#include "support/sim_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "app/form.h"
#include "app/runtime_error.h"
#include "app/twips.h"

namespace sim {

namespace {

class SimPicture : public app::PictureObject {
 public:
  SimPicture(Long handle, int width, int height)
      : handle_(handle), width_(width), height_(height) {}
  Long handle() const override { return handle_; }
  int widthPixels() const override { return width_; }
  int heightPixels() const override { return height_; }

 private:
  Long handle_;
  int width_, height_;
};

}  // namespace

SimPeer::SimPeer(SimPlatform& platform, app::Form& f, Long handle)
    : form(f), scale(platform.twipsPerPixel), platform_(platform), handle_(handle) {
  const auto& layout = f.layout();
  const bool framed = layout.border == app::Border::FixedSingle;
  const bool menu = std::any_of(layout.controls.begin(), layout.controls.end(),
                                [](auto& c) { return c.kind == app::ControlKind::MenuItem; });
  // Borders 3 pixels wide, a caption of 22 and a menu bar of 20.
  width = app::toPixels(layout.clientWidth, scale) + (framed ? 6 : 0);
  height = app::toPixels(layout.clientHeight, scale) + (framed ? 28 : 0) + (menu ? 20 : 0);
  backColor = f.BackColor();
  picture = f.picture();
  for (auto& c : f.controls()) texts[std::string(c.name())] = c.Text();
  platform_.peers[handle_] = this;
  platform_.log("create", form);
}

SimPeer::~SimPeer() {
  platform_.peers.erase(handle_);
  platform_.log("destroy", form);
}

void SimPeer::show() {
  visible = true;
  minimized = false;
  ++timesShown;
  platform_.log("show", form);
}

void SimPeer::hide() {
  visible = minimized = false;
  platform_.log("hide", form);
}

void SimPeer::minimize() {
  visible = false;
  minimized = true;
  platform_.log("minimize", form);
}

void SimPeer::setOuterSize(int w, int h) {
  resizes_.push_back({platform_.clock + resizeDelay, w, h});
  settled();
}

std::pair<int, int> SimPeer::settled() const {
  while (!resizes_.empty() && resizes_.front().due <= platform_.clock) {
    width = std::max(resizes_.front().width, narrowest);
    height = resizes_.front().height;
    resizes_.pop_front();
  }
  return {width, height};
}

void SimPeer::controlChanged(const app::Control& control) {
  texts[std::string(control.name())] = control.Text();
}

std::unique_ptr<app::WindowPeer> SimPlatform::createWindow(app::Form& form) {
  Long handle = nextWindow_;
  nextWindow_ += 0x10;
  exStyles[handle] =
      form.layout().showInTaskbar ? app::ExStyle::WindowEdge : app::ExStyle::ToolWindow;
  return std::make_unique<SimPeer>(*this, form, handle);
}

void SimPlatform::messageBox(const std::string& text, int style, const std::string& title) {
  boxes.push_back({text, style, title});
  if (!answers.empty()) {
    auto answer = std::move(answers.front());
    answers.pop_front();
    answer();
  }
}

double SimPlatform::run(const app::CommandLine& command, app::WindowStyle style) {
  if (refuseCommands)
    throw app::RuntimeError::cannotRun("cmd.exe");
  commands.push_back({command, style, clock});
  return static_cast<double>(commands.size());
}

app::Picture SimPlatform::makePicture(int width, int height) {
  Long handle = nextPicture_++;
  return std::make_shared<SimPicture>(handle, width, height);
}

app::Picture SimPlatform::loadPicture(const std::string& path) {
  auto file = files.find(path);
  if (file == files.end())
    throw app::RuntimeError::fileNotFound(path);
  if (!file->second)
    throw app::RuntimeError::invalidPicture(path);
  return makePicture(file->second->width, file->second->height);
}

app::Picture SimPlatform::builtinPicture(std::string_view name) {
  return name == "main.jpg"       ? makePicture(480, 720)
         : name.ends_with(".ico") ? makePicture(32, 32)
                                  : makePicture(500, 200);
}

void SimPlatform::bind(std::string_view library, std::string_view entry) {
  std::string key = std::string(library) + "!" + std::string(entry);
  if (missingEntries.contains(key))
    throw app::RuntimeError::entryPointNotFound(std::string(entry));
  bindings.push_back(key);
}

void PrintTo(const EntryCall& call, std::ostream* out) {
  *out << call.entry << '(';
  for (std::size_t i = 0; i < call.arguments.size(); ++i)
    *out << (i ? ", " : "") << call.arguments[i];
  *out << ')';
}

void PrintTo(const RecordedBox& box, std::ostream* out) {
  *out << '"' << box.text << "\" " << box.style << " \"" << box.title << '"';
}

void SimPlatform::log(std::string_view what, const app::Form& form) {
  windowLog.push_back(std::string(what) + " " + std::string(form.name()));
}

Long SimPlatform::SetWindowPos(Long hWnd, Long insertAfter, Long x, Long y, Long cx, Long cy,
                               Long flags) {
  calls.push_back({"SetWindowPos", {hWnd, insertAfter, x, y, cx, cy, flags}});
  auto peer = peers.find(hWnd);
  if (peer != peers.end() && (flags & app::WindowPos::NoSize) == 0)
    peer->second->setOuterSize(cx, cy);
  return 1;
}

Long SimPlatform::GetWindowLongA(Long hWnd, Long index) {
  calls.push_back({"GetWindowLongA", {hWnd, index}});
  return exStyles[hWnd];
}

Long SimPlatform::SetWindowLongA(Long hWnd, Long index, Long value) {
  calls.push_back({"SetWindowLongA", {hWnd, index, value}});
  return std::exchange(exStyles[hWnd], value);
}

Long SimPlatform::SetLayeredWindowAttributes(Long hWnd, Long colourKey, std::uint8_t alpha,
                                             Long flags) {
  calls.push_back({"SetLayeredWindowAttributes", {hWnd, colourKey, alpha, flags}});
  return 1;
}

Long SimPlatform::Shell_NotifyIcon(Long message, app::NotifyIconData& data) {
  trayCalls.push_back({message, data});
  std::pair key{data.hWnd, data.uID};
  if (message == app::NotifyIcon::Add && refuseTrayIcons)
    return 0;
  if (message == app::NotifyIcon::Add)
    return trayIcons.insert(key).second ? 1 : 0;
  if (message == app::NotifyIcon::Delete)
    return trayIcons.erase(key) == 1 ? 1 : 0;
  return 0;
}

bool SimPlatform::showsTrayIcons() {
  return !refuseTrayIcons;
}

void SimPlatform::advance(std::chrono::nanoseconds by) {
  const auto target = clock + by;
  auto& application = app::Application::current();
  for (;;) {
    auto due = application.nextDeadline();
    if (!due || *due > target)
      break;
    clock = std::max(clock, *due);
    application.wake();
    // A timer that stays due without running would stop the clock for good.
    if (application.nextDeadline() == due) {
      ADD_FAILURE() << "a timer due at " << due->count() << " ns did not run";
      break;
    }
  }
  clock = std::max(clock, target);
}

SimPeer* SimPlatform::peer(std::string_view form) const {
  for (auto& [handle, peer] : peers)
    if (peer->form.name() == form)
      return peer;
  return nullptr;
}

}  // namespace sim
