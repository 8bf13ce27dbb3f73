// What Qt has no API for on X11: keeping a window off the taskbar.
#pragma once

class QWidget;

namespace qtui {

// Adds _NET_WM_STATE_SKIP_TASKBAR and _SKIP_PAGER before the window is
// mapped (Qt merges its own states into these). Nothing on other platforms.
void keepOffTaskbar(QWidget& window);

}  // namespace qtui
