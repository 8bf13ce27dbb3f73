// The services port: what a window system gives the form runtime. The
// runtime holds every control's state; a platform mirrors it in real
// windows and reports user actions back to the Application.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "app/basic_types.h"
#include "app/command_line.h"
#include "app/notify_icon_data.h"
#include "app/picture.h"

namespace app {

class Control;
class Form;

// A loaded form's window. Created hidden when the form loads, destroyed
// when it unloads. It reads the layout and the controls' state from the
// form it was made for.
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;

  virtual Long handle() const = 0;
  // The display's own scale where the window is; the core converts every
  // position and size it hands the peer with it.
  virtual Single twipsPerPixel() const = 0;
  virtual void show() = 0;  // visible, in front and active (also when minimised)
  virtual void hide() = 0;
  virtual void minimize() = 0;  // to the taskbar, where the user can reach it
  virtual void setEnabled(bool enabled) = 0;
  // Outer size, borders, caption and menu bar included, in pixels. The
  // window system may refuse a size or carry it out later; the getters
  // read back what it has now.
  virtual void setOuterSize(int width, int height) = 0;
  virtual int outerWidth() const = 0;
  virtual int outerHeight() const = 0;
  virtual void setPicture(const Picture& picture) = 0;
  virtual void setBackColor(Colour colour) = 0;
  // The program changed a control's text, value or enabled state. The
  // peer must not report this back as a user edit.
  virtual void controlChanged(const Control& control) = 0;
};

// The five operating-system entry points the program declares. A platform
// binds each on its first call, through bind(); the others are called only
// after their entry was bound.
class SystemEntries {
 public:
  virtual ~SystemEntries() = default;

  // Loads the library and looks the entry up; raises a RuntimeError when
  // either cannot be found.
  virtual void bind(std::string_view library, std::string_view entry) = 0;
  virtual Long SetWindowPos(Long hWnd, Long insertAfter, Long x, Long y, Long cx, Long cy,
                            Long flags) = 0;
  virtual Long GetWindowLongA(Long hWnd, Long index) = 0;
  virtual Long SetWindowLongA(Long hWnd, Long index, Long value) = 0;
  virtual Long SetLayeredWindowAttributes(Long hWnd, Long colourKey, std::uint8_t alpha,
                                          Long flags) = 0;
  virtual Long Shell_NotifyIcon(Long message, NotifyIconData& data) = 0;
  virtual Long lastError() = 0;

  // Whether the desktop has a tray that shows icons now. Which icons are
  // there is the program's own record.
  virtual bool showsTrayIcons() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual std::unique_ptr<WindowPeer> createWindow(Form& form) = 0;

  // Modal: returns when the user has closed the box. The platform keeps
  // delivering timer wakes (and events of other windows) meanwhile.
  virtual void messageBox(const std::string& text, int style, const std::string& title) = 0;

  // Starts the command and returns at once with a task number; raises a
  // RuntimeError when it cannot be started. A system that answers later
  // reports a refusal through Application::requestRefused.
  virtual double run(const CommandLine& command, WindowStyle style) = 0;

  // Raises RuntimeError::fileNotFound or ::invalidPicture.
  virtual Picture loadPicture(const std::string& path) = 0;
  // The pictures and icons built into the program, by name ("app.ico").
  virtual Picture builtinPicture(std::string_view name) = 0;

  // The executable's directory as the system reports it.
  virtual std::string applicationDirectory() = 0;

  // A monotonic clock. After timersChanged() the platform asks the
  // Application for its next deadline and calls wake() once it is due.
  virtual std::chrono::nanoseconds now() = 0;
  virtual void timersChanged() = 0;

  // Ends the process at once; may return only on a simulated platform.
  virtual void end() = 0;

  virtual SystemEntries& entries() = 0;
};

}  // namespace app
