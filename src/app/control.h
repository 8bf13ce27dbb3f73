// One control's state while its form is loaded. The runtime owns it; the
// window peer mirrors it.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "app/basic_types.h"
#include "app/layout.h"

namespace app {

class Form;

class Control {
 public:
  Control(Form& form, const ControlLayout& layout);

  const ControlLayout& layout() const { return *layout_; }
  std::string_view name() const { return layout_->name; }
  ControlKind kind() const { return layout_->kind; }
  Form& form() const { return *form_; }

  // A text box's text, or any other control's caption. Writing a text
  // box's text raises its Change event inside the assignment.
  const std::string& Text() const { return text_; }
  void setText(std::string text);

  // Option buttons: -1 selected. Selecting one clears the others that
  // share its container.
  Boolean Value() const;
  void setValue(Boolean value);

  // For a timer, whether it ticks.
  Boolean Enabled() const { return toBoolean(enabled_); }
  void setEnabled(Boolean enabled);
  Long Interval() const { return layout_->interval; }

  // The runtime's side: user edits (no echo to the peer) and timer state.
  void userEdited(std::string text);
  bool timerRunning() const;
  std::chrono::nanoseconds due() const { return due_; }
  // Moves the deadline past now, keeping start + k * interval.
  void advanceDue(std::chrono::nanoseconds now);
  bool ticking = false;  // its Timer handler is running

 private:
  void expectKind(ControlKind kind) const;
  void notifyPeer();

  Form* form_;
  const ControlLayout* layout_;
  std::string text_;
  bool value_ = false;
  bool enabled_ = true;
  std::chrono::nanoseconds due_{};
};

}  // namespace app
