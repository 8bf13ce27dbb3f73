#include "platform/qt/caret_blink.h"

#include <QApplication>
#include <QEvent>

namespace qtui {

CaretBlinkLimiter::CaretBlinkLimiter(int blinkForMs) : flashTime_(QApplication::cursorFlashTime()) {
  calm_.setSingleShot(true);
  calm_.setInterval(blinkForMs);
  connect(&calm_, &QTimer::timeout, this, [] { QApplication::setCursorFlashTime(0); });
  qApp->installEventFilter(this);
  calm_.start();
}

CaretBlinkLimiter::~CaretBlinkLimiter() {
  QApplication::setCursorFlashTime(flashTime_);
}

void CaretBlinkLimiter::wakeUp() {
  if (QApplication::cursorFlashTime() != flashTime_)
    QApplication::setCursorFlashTime(flashTime_);
  calm_.start();
}

bool CaretBlinkLimiter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::FocusIn:
    case QEvent::InputMethod:
      wakeUp();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qtui
