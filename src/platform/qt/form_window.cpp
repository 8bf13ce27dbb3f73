#include "platform/qt/form_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <algorithm>
#include <vector>

#include "app/application.h"
#include "platform/qt/colours.h"
#include "platform/qt/pictures.h"
#include "platform/qt/title_bar.h"
#include "platform/qt/x11_window_state.h"

namespace qtui {

namespace {

Qt::WindowFlags flagsFor(const app::FormLayout& layout) {
  if (layout.border == app::Border::None)
    return Qt::SplashScreen | Qt::FramelessWindowHint;
  // Qt's own Wayland decoration always offers minimise and maximise, may be
  // resized by its edges and cuts a caption short; the title bar is ours.
  Qt::WindowFlags flags = onWayland() ? Qt::Window | Qt::FramelessWindowHint
                                      : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (layout.controlBox && !onWayland())
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (!layout.showInTaskbar)
    flags |= Qt::Tool;
  return flags;
}

app::Integer buttonsOf(const QMouseEvent* event) {
  const auto b = event->buttons();
  return app::mouseButtons(b & Qt::LeftButton, b & Qt::RightButton, b & Qt::MiddleButton);
}

app::Integer shiftOf(const QMouseEvent* event) {
  const auto m = event->modifiers();
  return app::shiftKeys(m & Qt::ShiftModifier, m & Qt::ControlModifier, m & Qt::AltModifier);
}

}  // namespace

FormWindow::FormWindow(app::Form& form) : QWidget(nullptr, flagsFor(form.layout())), form_(&form) {
  const app::FormLayout& layout = form.layout();
  setObjectName(QString::fromUtf8(layout.name.data(), static_cast<qsizetype>(layout.name.size())));
  setWindowTitle(
      QString::fromUtf8(layout.caption.data(), static_cast<qsizetype>(layout.caption.size())));
  setAttribute(Qt::WA_QuitOnClose, false);
  if (const QtPicture* icon = QtPicture::of(form.Icon()))
    setWindowIcon(icon->icon());

  if (onWayland() && layout.border != app::Border::None)
    titleBar_ = new TitleBar(this, layout.controlBox);
  buildMenu();
  client_ = new ClientArea(this, [this](QMouseEvent* event) {
    if (form_ == nullptr)
      return;
    const QPointF at = event->position();
    app::Application::current().mouseMove(*form_, buttonsOf(event), shiftOf(event),
                                          app::toTwips(at.x(), twipsPerPixel()),
                                          app::toTwips(at.y(), twipsPerPixel()));
  });
  const int bar = titleBar_ ? titleBar_->height() : 0;
  const int top = bar + (menuBar_ ? menuBar_->sizeHint().height() : 0);
  const QSize clientSize(app::toPixels(layout.clientWidth, twipsPerPixel()),
                         app::toPixels(layout.clientHeight, twipsPerPixel()));
  client_->setGeometry(QRect(QPoint(0, top), clientSize));
  if (menuBar_)
    menuBar_->setGeometry(0, bar, clientSize.width(), top - bar);
  setFixedSize(clientSize.width(), top + clientSize.height());

  client_->setBackColour(toQColor(form.BackColor()));
  if (const QtPicture* picture = QtPicture::of(form.picture()))
    client_->setPicture(picture->pixmap());
  buildControls();
  setTabOrder();
  markOptionStops(client_);
}

void FormWindow::buildMenu() {
  std::vector<const app::ControlLayout*> items;
  for (const auto& c : form_->layout().controls)
    if (c.kind == app::ControlKind::MenuItem)
      items.push_back(&c);
  if (items.empty())
    return;
  menuBar_ = new QMenuBar(this);
  menuBar_->setNativeMenuBar(false);  // the client area is measured below it
  for (const app::ControlLayout* item : items) {
    const std::string_view name = item->name;
    QAction* action = menuBar_->addAction(
        QString::fromUtf8(item->caption.data(), static_cast<qsizetype>(item->caption.size())));
    action->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    connect(action, &QAction::triggered, this, [this, name] {
      if (form_ != nullptr)
        app::Application::current().click(*form_, name);
    });
  }
}

void FormWindow::buildControls() {
  ControlCallbacks callbacks{
      .clicked =
          [this](std::string_view name) {
            if (form_ == nullptr)
              return;
            app::Application::current().click(*form_, name);
            // The core's option values are the truth, also when a click on
            // a selected option would have cleared it here.
            if (form_ != nullptr && form_->loaded())
              if (app::Control* c = form_->findLoaded(name))
                syncControl(*c);
          },
      .edited =
          [this](std::string_view name, const QString& text) {
            if (form_ != nullptr)
              app::Application::current().edited(*form_, name, text.toStdString());
          },
  };
  std::map<std::string_view, QWidget*> containers{{form_->layout().name, client_}};
  for (const app::ControlLayout* c : app::tabOrder(form_->layout())) {
    auto container = containers.find(c->container);
    QWidget* parent = container != containers.end() ? container->second : client_;
    QWidget* widget = createControlWidget(*c, parent, callbacks, twipsPerPixel());
    if (widget == nullptr)
      continue;
    // Labels and lines are drawn on the container itself, beneath every
    // windowed control, as on Windows.
    if (c->kind == app::ControlKind::Label || c->kind == app::ControlKind::Line)
      widget->lower();
    widgets_[std::string(c->name)] = widget;
    if (c->kind == app::ControlKind::Frame)
      containers[c->name] = widget;
  }
  for (auto& c : form_->controls())
    if (QWidget* widget = controlWidget(c.name()))
      syncControlWidget(widget, c);
}

std::vector<QWidget*> FormWindow::focusOrder() const {
  std::vector<QWidget*> order;
  for (const app::ControlLayout* c : app::tabOrder(form_->layout()))
    if (takesFocus(c->kind))
      order.push_back(controlWidget(c->name));
  return order;
}

void FormWindow::setTabOrder() {
  const std::vector<QWidget*> order = focusOrder();
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void FormWindow::focusFirstControl() {
  const std::vector<QWidget*> order = focusOrder();
  if (!order.empty())
    order.front()->setFocus(Qt::OtherFocusReason);
}

QWidget* FormWindow::controlWidget(std::string_view name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second;
}

QRegion FormWindow::bareBackground() const {
  QRegion bare(client_->geometry());
  const QPixmap& picture = client_->picture();
  if (!picture.isNull())
    bare -= QRect(client_->pos(), picture.deviceIndependentSize().toSize());
  for (const QWidget* control : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    bare -= control->geometry().translated(client_->pos());
  return bare;
}

void FormWindow::centre() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || onWayland())  // the compositor places windows
    return;
  QRect frame(QPoint(0, 0), outerSize());
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

void FormWindow::showForm() {
  if (!shownBefore_)
    centre();
  if (form_ != nullptr && !form_->layout().showInTaskbar)
    keepOffTaskbar(*this);
  if (isMinimized())
    showNormal();
  else
    show();
  if (!onWayland()) {  // the compositor decides what comes to the front
    raise();
    activateWindow();
  }
  if (!shownBefore_) {
    shownBefore_ = true;
    focusFirstControl();
  }
}

void FormWindow::syncControl(const app::Control& control) {
  if (QWidget* widget = controlWidget(control.name()))
    syncControlWidget(widget, control);
}

QSize FormWindow::frameExtra() const {
  return frameGeometry().size() - size();
}

QSize FormWindow::outerSize() const {
  return frameGeometry().size();
}

void FormWindow::setOuterSize(QSize outer) {
  setFixedSize((outer - frameExtra()).expandedTo(QSize(1, 1)));
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The core decides; an unload destroys this window's peer.
  event->ignore();
  if (form_ != nullptr)
    app::Application::current().closeRequested(*form_, app::UnloadMode::ControlMenu);
}

}  // namespace qtui
