// Stops the text caret blinking a while after the last input, as GTK
// desktops do: a blinking caret is the only thing that would wake an idle
// program. Any key, click or focus change starts it blinking again.
#pragma once

#include <QObject>
#include <QTimer>

namespace qtui {

class CaretBlinkLimiter : public QObject {
 public:
  explicit CaretBlinkLimiter(int blinkForMs = 10000);
  ~CaretBlinkLimiter() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void wakeUp();

  int flashTime_;
  QTimer calm_;
};

}  // namespace qtui
