// The top-level window of a loaded form: the menu bar (if any), the client
// area at exactly the stored size and a widget for every control.
#pragma once

#include <QMenuBar>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/twips.h"
#include "platform/qt/control_widgets.h"

namespace qtui {

class FormWindow : public QWidget {
 public:
  explicit FormWindow(app::Form& form);

  app::Form* form() const { return form_; }
  // The form unloaded: nothing more is reported to it.
  void detach() { form_ = nullptr; }

  ClientArea* clientArea() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QWidget* controlWidget(std::string_view name) const;
  // Where the client area shows its background colour and nothing else:
  // neither the picture nor any control draws there.
  QRegion bareBackground() const;

  // Qt lays out in logical pixels and scales them to the device itself.
  app::Single twipsPerPixel() const { return app::kDefaultTwipsPerPixel; }

  void showForm();
  void syncControl(const app::Control& control);

  // Outer size in pixels, frame included, as the window system has it.
  QSize outerSize() const;
  void setOuterSize(QSize size);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  void buildMenu();
  // The widgets that take the focus, in tab order.
  std::vector<QWidget*> focusOrder() const;
  void setTabOrder();
  void focusFirstControl();
  void centre();
  QSize frameExtra() const;

  app::Form* form_;
  QWidget* titleBar_ = nullptr;
  ClientArea* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  std::map<std::string, QWidget*, std::less<>> widgets_;
  bool shownBefore_ = false;
};

}  // namespace qtui
