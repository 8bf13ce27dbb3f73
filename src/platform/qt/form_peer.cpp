#include "platform/qt/form_peer.h"

#include "platform/qt/colours.h"
#include "platform/qt/pictures.h"
#include "platform/qt/title_bar.h"

namespace qtui {

FormPeer::FormPeer(app::Form& form, WindowRegistry& registry)
    : window_(new FormWindow(form)), registry_(registry), handle_(registry.add(window_)) {}

FormPeer::~FormPeer() {
  registry_.remove(handle_);
  if (window_) {
    window_->detach();
    window_->hide();
    window_->deleteLater();
  }
}

void FormPeer::show() {
  window_->showForm();
}

void FormPeer::hide() {
  window_->hide();
}

void FormPeer::minimize() {
  // Wayland tells a client neither that its window was minimised nor
  // whether the desktop has a way back to it (weston has none): there the
  // window stays on screen, as under X11 with no window manager.
  if (!onWayland())
    window_->showMinimized();
}

void FormPeer::setEnabled(bool enabled) {
  // Disabled, the window loses its focus; enabled again, the control that
  // had it takes it back, as a dialog's does.
  const bool wasEnabled = window_->isEnabled();
  if (!enabled && wasEnabled)
    focus_ = window_->focusWidget();
  window_->setEnabled(enabled);
  if (enabled && !wasEnabled && focus_ && focus_->isEnabled())
    focus_->setFocus(Qt::OtherFocusReason);
}

void FormPeer::setOuterSize(int width, int height) {
  window_->setOuterSize(QSize(width, height));
}

int FormPeer::outerWidth() const {
  return window_->outerSize().width();
}

int FormPeer::outerHeight() const {
  return window_->outerSize().height();
}

void FormPeer::setPicture(const app::Picture& picture) {
  const QtPicture* p = QtPicture::of(picture);
  window_->clientArea()->setPicture(p ? p->pixmap() : QPixmap());
}

void FormPeer::setBackColor(app::Colour colour) {
  window_->clientArea()->setBackColour(toQColor(colour));
}

void FormPeer::controlChanged(const app::Control& control) {
  window_->syncControl(control);
}

}  // namespace qtui
