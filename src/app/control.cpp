#include "app/control.h"

#include <utility>

#include "app/application.h"
#include "app/form.h"
#include "app/runtime_error.h"

namespace app {

Control::Control(Form& form, const ControlLayout& layout)
    : form_(&form), layout_(&layout), text_(layout.caption) {
  if (layout.kind == ControlKind::Timer) {
    enabled_ = layout.enabled && layout.interval > 0;
    if (enabled_)
      due_ = Application::current().platform().now() + std::chrono::milliseconds(layout.interval);
  }
}

void Control::expectKind(ControlKind kind) const {
  if (layout_->kind != kind)
    throw RuntimeError::notSupported();
}

void Control::notifyPeer() {
  if (auto* peer = form_->peer())
    peer->controlChanged(*this);
}

void Control::setText(std::string text) {
  text_ = std::move(text);
  notifyPeer();
  if (kind() == ControlKind::TextBox) {
    Event change{EventKind::Change, name()};
    form_->raise(change);
  }
}

void Control::userEdited(std::string text) {
  text_ = std::move(text);
}

Boolean Control::Value() const {
  expectKind(ControlKind::OptionButton);
  return toBoolean(value_);
}

void Control::setValue(Boolean value) {
  expectKind(ControlKind::OptionButton);
  value_ = value != False;
  if (value_) {
    for (auto& other : form_->controls()) {
      if (&other != this && other.kind() == ControlKind::OptionButton && other.value_ &&
          other.layout().container == layout_->container) {
        other.value_ = false;
        other.notifyPeer();
      }
    }
  }
  notifyPeer();
}

void Control::setEnabled(Boolean enabled) {
  bool on = enabled != False;
  if (kind() == ControlKind::Timer) {
    if (on && !enabled_)
      due_ = Application::current().platform().now() + std::chrono::milliseconds(Interval());
    enabled_ = on;
    Application::current().platform().timersChanged();
    return;
  }
  enabled_ = on;
  notifyPeer();
}

bool Control::timerRunning() const {
  return kind() == ControlKind::Timer && enabled_ && Interval() > 0;
}

void Control::advanceDue(std::chrono::nanoseconds now) {
  const std::chrono::nanoseconds step = std::chrono::milliseconds(Interval());
  if (now < due_)
    return;
  due_ += step * ((now - due_) / step + 1);
}

}  // namespace app
