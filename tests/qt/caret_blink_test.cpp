// The caret stops blinking when nobody types, and blinks again on input.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "platform/qt/caret_blink.h"
#include "qt_program.h"

namespace qttest {
namespace {

TEST(CaretBlink, StopsAfterTheQuietTimeAndStartsAgainOnAKey) {
  const int normal = QApplication::cursorFlashTime();
  ASSERT_GT(normal, 0);
  {
    qtui::CaretBlinkLimiter limiter(50);
    QLineEdit edit;
    EXPECT_EQ(QApplication::cursorFlashTime(), normal);
    EXPECT_TRUE(waitFor([] { return QApplication::cursorFlashTime() == 0; }, 1000));

    QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
    QApplication::sendEvent(&edit, &key);
    EXPECT_EQ(QApplication::cursorFlashTime(), normal);
    EXPECT_EQ(edit.text(), "1");
    EXPECT_TRUE(waitFor([] { return QApplication::cursorFlashTime() == 0; }, 1000));
  }
  EXPECT_EQ(QApplication::cursorFlashTime(), normal) << "restored when the limiter goes";
}

}  // namespace
}  // namespace qttest
