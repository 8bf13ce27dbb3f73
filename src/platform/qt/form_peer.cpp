#include "platform/qt/form_peer.h"

#include <cmath>

#include "platform/qt/colours.h"
#include "platform/qt/pictures.h"

namespace qtui {

FormPeer::FormPeer(app::Form& form, WindowRegistry& registry, const TrayIcons& tray)
    : window_(new FormWindow(form)),
      registry_(registry),
      tray_(tray),
      handle_(registry.add(window_)) {}

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
  window_->hideForm(tray_.shows(handle_));
}

void FormPeer::setEnabled(bool enabled) {
  window_->setEnabled(enabled);
}

void FormPeer::setOuterSize(app::Single width, app::Single height) {
  window_->setOuterSize(QSize(static_cast<int>(std::lround(width / kTwipsPerPixel)),
                              static_cast<int>(std::lround(height / kTwipsPerPixel))));
}

app::Single FormPeer::outerWidth() const {
  return static_cast<app::Single>(window_->outerSize().width() * kTwipsPerPixel);
}

app::Single FormPeer::outerHeight() const {
  return static_cast<app::Single>(window_->outerSize().height() * kTwipsPerPixel);
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
