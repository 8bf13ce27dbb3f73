// The widgets that realise a form's controls and its client area.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

#include "app/control.h"
#include "app/layout.h"

class QMouseEvent;

namespace qtui {

// A form's client area: its background colour, its picture drawn once at
// natural size from the top-left corner, and the pointer moving over it.
class ClientArea : public QWidget {
 public:
  using MouseMoved = std::function<void(QMouseEvent*)>;
  ClientArea(QWidget* parent, MouseMoved mouseMoved);

  void setPicture(QPixmap picture);
  const QPixmap& picture() const { return picture_; }
  void setBackColour(QColor colour);
  // Left unpainted, in a translucent window: what lies below shows there.
  void setSeeThrough(QRegion region);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
  QRegion seeThrough_;
  MouseMoved mouseMoved_;
};

// A straight line control, one pixel wide.
class LineWidget : public QWidget {
 public:
  LineWidget(QWidget* parent, const app::ControlLayout& layout, app::Single twipsPerPixel);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLine line_;
};

struct ControlCallbacks {
  std::function<void(std::string_view name)> clicked;
  std::function<void(std::string_view name, const QString& text)> edited;
};

// Null for controls without a widget (timers, menu items).
QWidget* createControlWidget(const app::ControlLayout& layout, QWidget* parent,
                             const ControlCallbacks& callbacks, app::Single twipsPerPixel);

// Mirrors the core's state of the control; never reports an edit.
void syncControlWidget(QWidget* widget, const app::Control& control);

bool takesFocus(app::ControlKind kind);
// Each option group of the form one Tab stop: its checked option, else its first.
void markOptionStops(QWidget* form);

}  // namespace qtui
