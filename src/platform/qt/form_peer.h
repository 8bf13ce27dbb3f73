// A loaded form's WindowPeer. The window itself is deleted later, from the
// event loop, because an unload usually runs inside one of its own signals.
#pragma once

#include <QPointer>

#include "app/platform.h"
#include "platform/qt/form_window.h"
#include "platform/qt/window_registry.h"

namespace qtui {

class FormPeer : public app::WindowPeer {
 public:
  FormPeer(app::Form& form, WindowRegistry& registry);
  ~FormPeer() override;

  app::Long handle() const override { return handle_; }
  app::Single twipsPerPixel() const override { return window_->twipsPerPixel(); }
  void show() override;
  void hide() override;
  void minimize() override;
  void setEnabled(bool enabled) override;
  void setOuterSize(int width, int height) override;
  int outerWidth() const override;
  int outerHeight() const override;
  void setPicture(const app::Picture& picture) override;
  void setBackColor(app::Colour colour) override;
  void controlChanged(const app::Control& control) override;

  FormWindow* window() const { return window_; }

 private:
  QPointer<FormWindow> window_;
  QPointer<QWidget> focus_;  // while disabled
  WindowRegistry& registry_;
  app::Long handle_;
};

}  // namespace qtui
