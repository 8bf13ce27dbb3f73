#include "app/twips.h"

#include <algorithm>
#include <cmath>

namespace app {

int toPixels(double twips, Single twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

Single toTwips(double pixels, Single twipsPerPixel) {
  return static_cast<Single>(pixels * twipsPerPixel);
}

PixelRect toPixels(const ControlLayout& c, Single twipsPerPixel) {
  return {toPixels(c.left, twipsPerPixel), toPixels(c.top, twipsPerPixel),
          toPixels(c.width, twipsPerPixel), toPixels(c.height, twipsPerPixel)};
}

Single trayCallbackX(Long mouseMessage, Single twipsPerPixel) {
  return toTwips(mouseMessage, twipsPerPixel);
}

Integer mouseButtons(bool left, bool right, bool middle) {
  return static_cast<Integer>((left ? 1 : 0) | (right ? 2 : 0) | (middle ? 4 : 0));
}

Integer shiftKeys(bool shift, bool control, bool alt) {
  return mouseButtons(shift, control, alt);  // the same bits
}

MessageIcon messageIcon(int style) {
  switch (style & 0x70) {
    case 16:
      return MessageIcon::Error;
    case 32:
      return MessageIcon::Question;
    case 48:
      return MessageIcon::Warning;
    case 64:
      return MessageIcon::Information;
    default:
      return MessageIcon::None;
  }
}

std::vector<const ControlLayout*> tabOrder(const FormLayout& form) {
  std::vector<const ControlLayout*> order;
  for (const auto& c : form.controls) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(),
                   [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
  // A container is made before whatever window it holds, even where its
  // tab index says otherwise; everything else keeps its place. Timers,
  // lines and menu items have no window to put in it.
  std::vector<const ControlLayout*> made;
  const auto make = [&](const ControlLayout* c, const auto& self) -> void {
    if (std::find(made.begin(), made.end(), c) != made.end())
      return;
    const bool windowless = c->kind == ControlKind::Timer || c->kind == ControlKind::Line ||
                            c->kind == ControlKind::MenuItem;
    if (const ControlLayout* holder = form.find(c->container); holder && !windowless)
      self(holder, self);
    made.push_back(c);
  };
  for (const ControlLayout* c : order) make(c, make);
  return made;
}

}  // namespace app
