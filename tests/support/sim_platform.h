// A simulated platform: a virtual monotonic clock, recorded command lines
// and message boxes, window peers that record what the core set, and
// pictures from an in-memory file system.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/picture_orientation.h"
#include "app/platform.h"

namespace sim {

using app::Long;
using app::Single;
using namespace std::chrono_literals;

struct RecordedCommand {
  app::CommandLine command;
  app::WindowStyle style;
  std::chrono::nanoseconds at;
};

struct RecordedBox {
  std::string text;
  int style;
  std::string title;
  bool operator==(const RecordedBox&) const = default;
};
void PrintTo(const RecordedBox& box, std::ostream* out);
using Boxes = std::vector<RecordedBox>;

struct TrayCall {
  Long message;
  app::NotifyIconData record;
};

// A call of a declared entry with every argument a real one is given.
struct EntryCall {
  std::string entry;
  std::vector<Long> arguments;
  bool operator==(const EntryCall&) const = default;
};
// How a failing test prints it: SetWindowPos(65552, -1, 0, 0, 0, 0, 3).
void PrintTo(const EntryCall& call, std::ostream* out);

class SimPlatform;

class SimPeer : public app::WindowPeer {
 public:
  SimPeer(SimPlatform& platform, app::Form& form, Long handle);
  ~SimPeer() override;

  Long handle() const override { return handle_; }
  Single twipsPerPixel() const override { return scale; }
  void show() override;
  void hide() override;
  void minimize() override;
  void setEnabled(bool on) override { enabled = on; }
  void setOuterSize(int width, int height) override;
  int outerWidth() const override { return settled().first; }
  int outerHeight() const override { return settled().second; }
  void setPicture(const app::Picture& p) override { picture = p; }
  void setBackColor(app::Colour c) override { backColor = c; }
  void controlChanged(const app::Control& control) override;

  app::Form& form;
  Single scale;  // twips per pixel where the window is
  bool visible = false;
  bool minimized = false;
  bool enabled = true;
  int timesShown = 0;
  mutable int width = 0, height = 0;  // outer size in pixels, as read back
  int narrowest = 0;                  // the window system refuses anything narrower
  // A window manager carries a resize out this long after it was asked.
  std::chrono::nanoseconds resizeDelay{0};
  app::Picture picture;
  app::Colour backColor = 0;
  std::map<std::string, std::string, std::less<>> texts;  // as the peer shows them

 private:
  struct Resize {
    std::chrono::nanoseconds due;
    int width, height;
  };
  // Carries out the resizes that are due and reads the size back.
  std::pair<int, int> settled() const;

  SimPlatform& platform_;
  Long handle_;
  mutable std::deque<Resize> resizes_;
};

class SimPlatform : public app::Platform, public app::SystemEntries {
 public:
  // Platform.
  std::unique_ptr<app::WindowPeer> createWindow(app::Form& form) override;
  void messageBox(const std::string& text, int style, const std::string& title) override;
  double run(const app::CommandLine& command, app::WindowStyle style) override;
  app::Picture loadPicture(const std::string& path) override;
  app::Picture builtinPicture(std::string_view name) override;
  std::string applicationDirectory() override { return appDir; }
  std::chrono::nanoseconds now() override { return clock; }
  void timersChanged() override {}
  void end() override { ended = true; }
  app::SystemEntries& entries() override { return *this; }

  // SystemEntries.
  void bind(std::string_view library, std::string_view entry) override;
  Long SetWindowPos(Long hWnd, Long insertAfter, Long x, Long y, Long cx, Long cy,
                    Long flags) override;
  Long GetWindowLongA(Long hWnd, Long index) override;
  Long SetWindowLongA(Long hWnd, Long index, Long value) override;
  Long SetLayeredWindowAttributes(Long hWnd, Long colourKey, std::uint8_t alpha,
                                  Long flags) override;
  Long Shell_NotifyIcon(Long message, app::NotifyIconData& data) override;
  Long lastError() override { return 0; }
  bool showsTrayIcons() override;

  // Moves the clock on, waking the application at every deadline on the
  // way, as a real message loop would.
  void advance(std::chrono::nanoseconds by);

  // Peers by form name; null when the form is not loaded.
  SimPeer* peer(std::string_view form) const;

  // What the window system holds for the tray: (hWnd, uID) of the icons shown.
  std::set<std::pair<Long, Long>> trayIcons;

  std::chrono::nanoseconds clock{1'000'000'000};
  Single twipsPerPixel = 15;  // of windows made from now on
  std::string appDir = "C:\\Tools\\Tavimo";
  // path -> the size of the picture it holds; none for a file that is no
  // picture.
  std::map<std::string, std::optional<app::PictureSize>> files;
  bool refuseCommands = false;
  bool refuseTrayIcons = false;          // the shell is not ready
  std::set<std::string> missingEntries;  // "user32!SetWindowPos"
  bool ended = false;

  std::vector<RecordedCommand> commands;
  std::vector<RecordedBox> boxes;
  // Answers the next message boxes in turn; each may act while its box is
  // open (advance the clock, type). Boxes without an answer are just closed.
  std::deque<std::function<void()>> answers;

  std::vector<std::string> bindings;  // "library!entry", in binding order
  std::vector<EntryCall> calls;
  // What the window system is told, in order: "create HY", "show HY",
  // "hide main", "minimize main", "destroy HY".
  std::vector<std::string> windowLog;
  void log(std::string_view what, const app::Form& form);
  std::vector<TrayCall> trayCalls;
  std::map<Long, Long> exStyles;

  std::map<Long, SimPeer*> peers;

 private:
  Long nextWindow_ = 0x10010;
  Long nextPicture_ = 0x2000;
  app::Picture makePicture(int width, int height);
};

}  // namespace sim
