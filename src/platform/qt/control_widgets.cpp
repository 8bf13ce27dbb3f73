#include "platform/qt/control_widgets.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <string>

#include "app/twips.h"
#include "platform/qt/colours.h"

namespace qtui {

namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Command buttons wrap a caption too long for one line, as on Windows.
class WrappingButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
  }

  // Enter presses the focused button as Space does, as on Windows.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
      click();
    else
      QPushButton::keyPressEvent(event);
  }
};

// Option buttons of one container are one exclusive group to Qt as well,
// so assistive technology hears radio buttons and Tab stops once per
// group. The arrow keys work as Windows' dialog manager does: Down and
// Right go to the next option of the group, Up and Left to the one before,
// round at the ends and whatever the layout, and choose it as a click
// would; Qt alone moves by geometry and chooses only from a chosen option.
class OptionButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int key = event->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                     : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                 : 0;
    if (step == 0 || parentWidget() == nullptr)
      return QRadioButton::keyPressEvent(event);
    const auto group = this->group();
    const auto at = group.indexOf(this);
    const auto size = group.size();
    OptionButton* next = group[(at + step + size) % size];
    next->setFocus(Qt::TabFocusReason);
    next->click();
  }
  // A screen reader's toggle sets the state directly: it stands for a click.
  // A click's own check, and the core's changes (signals blocked), do not.
  void checkStateSet() override {
    QRadioButton::checkStateSet();
    if (isChecked() && !signalsBlocked() && !clicking_)
      QMetaObject::invokeMethod(this, &QAbstractButton::click, Qt::QueuedConnection);
    markTabStop();
  }
  void nextCheckState() override {
    clicking_ = true;
    QRadioButton::nextCheckState();
    clicking_ = false;
  }
  // Qt makes the option focused last the group's stop.
  void focusInEvent(QFocusEvent* event) override {
    QRadioButton::focusInEvent(event);
    markTabStop();
  }

 public:
  // The group's one Tab stop: its checked option, else its first.
  void markTabStop() {
    const auto group = this->group();
    OptionButton* stop = group.value(0);
    for (OptionButton* option : group)
      if (option->isChecked())
        stop = option;
    for (OptionButton* option : group) {
      const int policy = option->focusPolicy();
      option->setFocusPolicy(
          Qt::FocusPolicy(option == stop ? policy | Qt::TabFocus : policy & ~Qt::TabFocus));
    }
  }

 private:
  QList<OptionButton*> group() {
    return parentWidget() != nullptr
               ? parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly)
               : QList<OptionButton*>{this};
  }
  bool clicking_ = false;
};

// Labels have no click signal of their own.
class ClickableLabel : public QLabel {
 public:
  ClickableLabel(const QString& text, QWidget* parent, std::function<void()> clicked)
      : QLabel(text, parent), clicked_(std::move(clicked)) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
      clicked_();
  }

 private:
  std::function<void()> clicked_;
};

// Frames and option buttons paint their background (button face unless
// the layout says otherwise); labels only when they are not transparent.
void applyColours(QWidget* widget, const app::ControlLayout& layout) {
  using K = app::ControlKind;
  QPalette palette = widget->palette();
  if (layout.kind == K::Frame || layout.kind == K::OptionButton) {
    palette.setColor(QPalette::Window, toQColor(app::SystemColour::ButtonFace));
    widget->setAutoFillBackground(true);
  }
  if (layout.foreColor) {
    palette.setColor(QPalette::WindowText, toQColor(*layout.foreColor));
    palette.setColor(QPalette::ButtonText, toQColor(*layout.foreColor));
  }
  if (layout.backColor) {
    palette.setColor(QPalette::Window, toQColor(*layout.backColor));
    widget->setAutoFillBackground(true);
  }
  widget->setPalette(palette);
}

void applyFont(QWidget* widget, const app::ControlLayout& layout) {
  if (!layout.font)
    return;
  QFont font(qs(layout.font->face), layout.font->points);
  font.setBold(layout.font->bold);
  widget->setFont(font);
}

}  // namespace

ClientArea::ClientArea(QWidget* parent, MouseMoved mouseMoved)
    : QWidget(parent), mouseMoved_(std::move(mouseMoved)) {
  setObjectName(QStringLiteral("clientArea"));
  setMouseTracking(true);
}

void ClientArea::setPicture(QPixmap picture) {
  picture_ = std::move(picture);
  update();
}

void ClientArea::setBackColour(QColor colour) {
  QPalette p = palette();
  p.setColor(QPalette::Window, colour);
  setPalette(p);
  update();
}

void ClientArea::setSeeThrough(QRegion region) {
  seeThrough_ = std::move(region);
  update();
}

void ClientArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setClipRegion(QRegion(rect()) - seeThrough_);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!picture_.isNull())
    painter.drawPixmap(0, 0, picture_);
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
  mouseMoved_(event);
}

LineWidget::LineWidget(QWidget* parent, const app::ControlLayout& layout, app::Single twipsPerPixel)
    : QWidget(parent) {
  const QPoint from(app::toPixels(layout.x1, twipsPerPixel),
                    app::toPixels(layout.y1, twipsPerPixel));
  const QPoint to(app::toPixels(layout.x2, twipsPerPixel), app::toPixels(layout.y2, twipsPerPixel));
  const QRect box = QRect(from, to).normalized();  // both ends inclusive
  setGeometry(box);
  line_ = QLine(from - box.topLeft(), to - box.topLeft());
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
  painter.drawLine(line_);
}

void markOptionStops(QWidget* form) {
  for (OptionButton* option : form->findChildren<OptionButton*>()) option->markTabStop();
}

bool takesFocus(app::ControlKind kind) {
  using K = app::ControlKind;
  return kind == K::Button || kind == K::TextBox || kind == K::OptionButton;
}

QWidget* createControlWidget(const app::ControlLayout& layout, QWidget* parent,
                             const ControlCallbacks& callbacks, app::Single twipsPerPixel) {
  using K = app::ControlKind;
  const std::string_view name = layout.name;
  const QString caption = qs(layout.caption);
  QWidget* widget = nullptr;
  switch (layout.kind) {
    case K::Button: {
      auto* button = new WrappingButton(caption, parent);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, button, [=] { callbacks.clicked(name); });
      widget = button;
      break;
    }
    case K::TextBox: {
      auto* edit = new QLineEdit(caption, parent);
      edit->setCursorPosition(0);
      // Typing, and a screen reader or voice control setting the text; the
      // core's own changes come with signals blocked.
      QObject::connect(edit, &QLineEdit::textChanged, edit,
                       [=](const QString& text) { callbacks.edited(name, text); });
      widget = edit;
      break;
    }
    case K::OptionButton: {
      auto* option = new OptionButton(caption, parent);
      QObject::connect(option, &QRadioButton::clicked, option, [=] { callbacks.clicked(name); });
      widget = option;
      break;
    }
    case K::Frame: {
      auto* frame = new QGroupBox(caption, parent);
      frame->setFocusPolicy(Qt::NoFocus);
      widget = frame;
      break;
    }
    case K::Label: {
      auto* label = new ClickableLabel(caption, parent, [=] { callbacks.clicked(name); });
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(layout.wordWrap);
      label->setAutoFillBackground(!layout.transparent);
      widget = label;
      break;
    }
    case K::Line:
      widget = new LineWidget(parent, layout, twipsPerPixel);
      break;
    case K::Timer:
    case K::MenuItem:
      return nullptr;
  }
  widget->setObjectName(qs(name));
  if (layout.kind != K::Line) {
    const app::PixelRect at = app::toPixels(layout, twipsPerPixel);
    widget->setGeometry(at.left, at.top, at.width, at.height);
  }
  applyColours(widget, layout);
  applyFont(widget, layout);
  return widget;
}

void syncControlWidget(QWidget* widget, const app::Control& control) {
  using K = app::ControlKind;
  const QString text = QString::fromStdString(control.Text());
  if (control.kind() != K::Timer)
    widget->setEnabled(control.Enabled() != app::False);
  const QSignalBlocker blocker(widget);
  switch (control.kind()) {
    case K::Button:
      static_cast<QPushButton*>(widget)->setText(text);
      break;
    case K::TextBox: {
      auto* edit = static_cast<QLineEdit*>(widget);
      if (edit->text() != text)
        edit->setText(text);
      break;
    }
    case K::OptionButton: {
      auto* option = static_cast<QRadioButton*>(widget);
      option->setText(text);
      // The core's value is the truth; Qt would refuse to clear the chosen
      // option of an exclusive group.
      option->setAutoExclusive(false);
      option->setChecked(control.Value() != app::False);
      option->setAutoExclusive(true);
      break;
    }
    case K::Frame:
      static_cast<QGroupBox*>(widget)->setTitle(text);
      break;
    case K::Label:
      static_cast<QLabel*>(widget)->setText(text);
      break;
    case K::Line:
    case K::Timer:
    case K::MenuItem:
      break;
  }
}

}  // namespace qtui
