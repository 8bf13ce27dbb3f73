// What assistive technology hears about the windows beyond what Qt's own
// widgets tell it: a form is a window named by its caption, a message box
// an alert with its text.
#pragma once

namespace qtui {

void describeWindowsToAssistiveTechnology();

}  // namespace qtui
