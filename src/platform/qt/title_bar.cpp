#include "platform/qt/title_bar.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace qtui {

bool onWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

TitleBar::TitleBar(QWidget* window, bool closeButton) : QWidget(window) {
  setObjectName(QStringLiteral("titleBar"));
  const int height = fontMetrics().height() + 10;
  setFixedHeight(height);
  window->installEventFilter(this);  // as wide as the window, whatever lays it out
  if (!closeButton)
    return;
  auto* close = new QToolButton(this);
  close->setObjectName(QStringLiteral("closeButton"));
  close->setAutoRaise(true);
  close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, close));
  close->setAccessibleName(QStringLiteral("关闭"));
  close->setFocusPolicy(Qt::NoFocus);
  close->setFixedSize(height - 4, height - 4);
  connect(close, &QToolButton::clicked, window, &QWidget::close);
}

void TitleBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool active = window()->isActiveWindow();
  painter.fillRect(
      rect(), palette().color(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
  painter.setPen(palette().color(QPalette::Dark));  // one window's bar ends where another's starts
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::HighlightedText));
  painter.drawText(rect().adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   window()->windowTitle());
}

bool TitleBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize)
    resize(parentWidget()->width(), height());
  return false;
}

void TitleBar::resizeEvent(QResizeEvent*) {
  if (auto* close = findChild<QToolButton*>())
    close->move(width() - close->width() - 2, 2);
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && window()->windowHandle() != nullptr)
    window()->windowHandle()->startSystemMove();
}

void addTitleBar(QDialog& dialog) {
  dialog.setWindowFlag(Qt::FramelessWindowHint);
  const int bar = (new TitleBar(&dialog, true))->height();
  QMargins margins = dialog.layout()->contentsMargins();
  margins.setTop(margins.top() + bar);
  dialog.layout()->setContentsMargins(margins);
}

}  // namespace qtui
