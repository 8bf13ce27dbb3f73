// The caret stops blinking when nobody types, and blinks again on input.
#include <gtest/gtest.h>

#include <QApplication>
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
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::cursorFlashTime() == 0; }, 1000));

    QTest::keyClick(&edit, '1');
    EXPECT_EQ(QApplication::cursorFlashTime(), normal);
    EXPECT_EQ(edit.text(), "1");
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::cursorFlashTime() == 0; }, 1000));
  }
  EXPECT_EQ(QApplication::cursorFlashTime(), normal) << "restored when the limiter goes";
}

}  // namespace
}  // namespace qttest
