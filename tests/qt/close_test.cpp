// The close sequence on real windows: refused, shrunk, ended, and ended
// too when the window system will not let the window become narrow.
#include <QResizeEvent>

#include "qt_program.h"

namespace qttest {
namespace {

class CloseTest : public QtProgram {
 protected:
  void SetUp() override {
    platform.setEndAction([] {});  // exit() would end every later test's loops at once
    showMain();
  }
  bool ends(int ms) {
    return QTest::qWaitFor([&] { return application.ended(); }, ms);
  }
};

TEST_F(CloseTest, TheCloseBoxShrinksTheWindowAndEndsTheProgram) {
  qtui::FormWindow* w = window(mainForm());
  const int startWidth = w->width();
  std::vector<int> widths;
  QTimer sample;
  QObject::connect(&sample, &QTimer::timeout, [&] { widths.push_back(w->width()); });
  sample.start(5);
  w->close();
  EXPECT_TRUE(mainForm().loaded()) << "the request is refused";
  EXPECT_EQ(mainForm().ULD().Enabled(), app::True);
  EXPECT_TRUE(ends(4000));
  EXPECT_LT(w->width() * 15, 1000);
  ASSERT_GT(widths.size(), 3u);
  EXPECT_EQ(widths.front(), startWidth);
  EXPECT_TRUE(std::is_sorted(widths.rbegin(), widths.rend())) << "only ever narrower";
  EXPECT_EQ(platform.tray().count(), 0u) << "no icon outlives the program";
}

TEST_F(CloseTest, AWindowSystemThatKeepsAMinimumWidthCannotKeepTheProgramAlive) {
  qtui::FormWindow* w = window(mainForm());
  enter([&] { mainForm().setWidth(2505); });
  ASSERT_EQ(mainForm().Width(), 2505);
  // The window manager answers with a wider window than asked for.
  QResizeEvent wider(QSize(200, w->height()), w->size());
  QApplication::sendEvent(w, &wider);
  w->close();
  EXPECT_TRUE(ends(2000));
}

}  // namespace
}  // namespace qttest
