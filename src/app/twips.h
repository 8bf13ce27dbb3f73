// Window-system arithmetic shared by every platform: twips and a window's
// pixels, the tray callback's X, the mouse bits handed to handlers, a
// message box's icon and the order in which controls are made.
#pragma once

#include <vector>

#include "app/basic_types.h"
#include "app/layout.h"

namespace app {

// At 96 dots per inch; also what a window that is not loaded reports.
inline constexpr Single kDefaultTwipsPerPixel = 15;

// The nearest pixel, halves away from zero.
int toPixels(double twips, Single twipsPerPixel);
Single toTwips(double pixels, Single twipsPerPixel);

struct PixelRect {
  int left, top, width, height;
};
PixelRect toPixels(const ControlLayout& control, Single twipsPerPixel);

// A tray icon reports to its window as a mouse move whose X carries the
// mouse message, scaled like any X to twips.
Single trayCallbackX(Long mouseMessage, Single twipsPerPixel);

// The Button and Shift arguments of a mouse event: bits 1, 2 and 4.
Integer mouseButtons(bool left, bool right, bool middle);
Integer shiftKeys(bool shift, bool control, bool alt);

// The icon bits of a message box's style (style & 0x70).
enum class MessageIcon { None, Error, Question, Warning, Information };
MessageIcon messageIcon(int style);

// Every control of the form by tab index, those without one first, in
// stored order, but a container (a frame) always before what it holds:
// windows made in this order find their container made already and take
// the focus in tab order.
std::vector<const ControlLayout*> tabOrder(const FormLayout& form);

}  // namespace app
