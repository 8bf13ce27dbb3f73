// A loaded form's WindowPeer. The window itself is deleted later, from the
// event loop, because an unload usually runs inside one of its own signals.
#pragma once

#include <QPointer>

#include "app/platform.h"
#include "platform/qt/form_window.h"
#include "platform/qt/tray_icons.h"
#include "platform/qt/window_registry.h"

namespace qtui {

class FormPeer : public app::WindowPeer {
 public:
  FormPeer(app::Form& form, WindowRegistry& registry, const TrayIcons& tray);
  ~FormPeer() override;

  app::Long handle() const override { return handle_; }
  void show() override;
  void hide() override;
  void setEnabled(bool enabled) override;
  void setOuterSize(app::Single width, app::Single height) override;
  app::Single outerWidth() const override;
  app::Single outerHeight() const override;
  void setPicture(const app::Picture& picture) override;
  void setBackColor(app::Colour colour) override;
  void controlChanged(const app::Control& control) override;

  FormWindow* window() const { return window_; }

 private:
  QPointer<FormWindow> window_;
  WindowRegistry& registry_;
  const TrayIcons& tray_;
  app::Long handle_;
};

}  // namespace qtui
