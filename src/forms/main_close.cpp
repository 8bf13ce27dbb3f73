// The close sequence: every request to close is refused and the window
// shrinks until the program ends.
#include "app/application.h"
#include "forms/main.h"

namespace forms {

namespace {
constexpr Single kStep = 100;
constexpr Single kNarrowest = 1000;
// Window managers carry a resize out later, so a read-back right after a
// step may still be the old width. Only a window that has stayed as wide
// for 5 ticks in a row (150 ms, far longer than a window manager takes to
// answer) is taken to be kept wider than the threshold.
constexpr int kTicksNotNarrower = 5;
}  // namespace

void main::Form_QueryUnload(Integer& Cancel, Integer&) {
  Cancel = app::True;
  ULD().setEnabled(app::True);
}

void main::ULD_Timer() {
  auto& window = app::instance<main>();
  window.setWidth(window.Width() - kStep);
  window.setHeight(window.Height() - kStep);
  const Single width = window.Width();
  if (width < kNarrowest)
    app::End();
  // Window systems keep captioned windows wider than the threshold.
  if (width < narrowestSeen_) {
    narrowestSeen_ = width;
    ticksNotNarrower_ = 0;
  } else if (++ticksNotNarrower_ >= kTicksNotNarrower) {
    app::End();
  }
}

}  // namespace forms
