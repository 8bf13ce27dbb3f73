// The close sequence: every request to close is refused and the window
// shrinks until the program ends.
#include "app/application.h"
#include "forms/main.h"

namespace forms {

namespace {
constexpr Single kStep = 100;
constexpr Single kNarrowest = 1000;
}  // namespace

void main::Form_QueryUnload(Integer& Cancel, Integer&) {
  Cancel = app::True;
  ULD().setEnabled(app::True);
}

void main::ULD_Timer() {
  auto& window = app::instance<main>();
  const Single before = window.Width();
  window.setWidth(window.Width() - kStep);
  window.setHeight(window.Height() - kStep);
  const Single after = window.Width();
  // Window systems keep captioned windows wider than the threshold; a
  // step that no longer narrows the window ends the program as well.
  if (after < kNarrowest || after >= before)
    app::End();
}

}  // namespace forms
