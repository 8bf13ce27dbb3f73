#include "platform/qt/colours.h"

#include <QApplication>
#include <QPalette>

namespace qtui {

namespace {

QColor systemColour(unsigned index) {
  const QPalette palette = QApplication::palette();
  switch (index) {
    case 0x05:  // window
      return palette.color(QPalette::Base);
    case 0x08:  // window text
    case 0x12:  // button text
      return palette.color(QPalette::WindowText);
    case 0x0B:  // inactive border: Qt has no such role; the classic shade
      return QColor(0xF4, 0xF7, 0xFC);
    case 0x0F:  // button face
      return palette.color(QPalette::Window);
    default:
      return palette.color(QPalette::Window);
  }
}

}  // namespace

QColor toQColor(app::Colour colour) {
  if (app::isSystemColour(colour))
    return systemColour(colour & 0xFFu);
  return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                static_cast<int>((colour >> 16) & 0xFFu));
}

}  // namespace qtui
