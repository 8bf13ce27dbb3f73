#!/usr/bin/python3
"""Asks an X11 window to close, as a window manager's close box does
(WM_DELETE_WINDOW). With --narrowest it then watches the window until it
is gone and prints the narrowest width it had, in pixels.
  send_close.py WINDOW [--narrowest]"""

import sys
import time

from Xlib import X, display, error
from Xlib.protocol.event import ClientMessage

screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1], 0))
delete = screen.intern_atom("WM_DELETE_WINDOW")
window.send_event(ClientMessage(window=window, client_type=screen.intern_atom("WM_PROTOCOLS"),
                                data=(32, [delete, X.CurrentTime, 0, 0, 0])))
screen.flush()
if sys.argv[2:] == ["--narrowest"]:
    widths = []
    try:  # until the window is gone, 20 s at most
        for _ in range(20000):
            widths.append(window.get_geometry().width)
            time.sleep(0.001)
    except error.XError:
        pass
    print(min(widths, default=""))
