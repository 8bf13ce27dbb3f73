// A form: one default instance, loaded and unloaded any number of times.
// Unloading drops the window and the controls; the instance stays, and the
// next load starts again from the stored layout.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/basic_types.h"
#include "app/control.h"
#include "app/event.h"
#include "app/layout.h"
#include "app/picture.h"
#include "app/platform.h"

namespace app {

class Form {
 public:
  explicit Form(const FormLayout& layout);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormLayout& layout() const { return *layout_; }
  std::string_view name() const { return layout_->name; }
  bool loaded() const { return loaded_; }
  bool visible() const { return loaded_ && visible_; }
  // The window's twips per pixel; the default scale when it is not loaded.
  Single twipsPerPixel() const;

  // Runtime operations. Each one that needs the window loads the form
  // first, running its Load handler.
  void Load();
  void Show();
  void Hide();
  // QueryUnload, then Unload; either may cancel. Returns whether it went.
  bool Unload(Integer unloadMode = UnloadMode::Code);

  Boolean Enabled();
  void setEnabled(Boolean enabled);
  Single Width();
  Single Height();
  void setWidth(Single width);
  void setHeight(Single height);
  Picture picture();
  void setPicture(Picture picture);
  Colour BackColor();
  void setBackColor(Colour colour);
  Long hWnd();
  Picture Icon();

  Control& control(std::string_view name);
  // Without loading: null when the form is not loaded.
  Control* findLoaded(std::string_view name);
  bool acceptsInput() const { return loaded_ && enabled_; }
  // The loaded controls, for peers and the timer scheduler.
  std::vector<Control>& controls() { return controls_; }
  WindowPeer* peer() const { return peer_.get(); }

  // Delivers an event to the form's handler, if it has one.
  virtual void raise(Event& event) = 0;
  // Whether the form has an icon in the tray that brings it back.
  virtual bool inTray() const { return false; }

 private:
  const FormLayout* layout_;
  bool loaded_ = false;
  bool loading_ = false;
  bool visible_ = false;
  bool enabled_ = true;
  Colour backColor_ = 0;
  Picture picture_;
  Picture icon_;
  std::vector<Control> controls_;
  std::unique_ptr<WindowPeer> peer_;
  // The outer size last asked for, in twips. A window manager may carry a
  // resize out later: setting one side must not send the other back as a
  // stale read-back, which would undo the resize still under way.
  std::optional<std::pair<Single, Single>> askedSize_;

  void askSize(std::optional<Single> width, std::optional<Single> height);
};

// Builds a form's handler table: entries name the control (empty for the
// form itself) and the event, and call a member function.
template <class F>
struct Handler {
  EventKind kind;
  std::string_view control;
  void (*call)(F& form, Event& event);
};

template <class F>
void dispatch(F& form, const std::vector<Handler<F>>& handlers, Event& event) {
  for (const auto& h : handlers) {
    if (h.kind == event.kind && h.control == event.control) {
      h.call(form, event);
      return;
    }
  }
}

}  // namespace app
