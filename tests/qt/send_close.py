#!/usr/bin/python3
"""Asks an X11 window to close, as a window manager's close box does
(WM_DELETE_WINDOW). With --narrowest it then watches the window until it
is gone and prints the narrowest width it had, in pixels.
  send_close.py WINDOW [--narrowest]"""

import ctypes
import sys
import time


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


class WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("pad", ctypes.c_long * 32)]


ErrorHandler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


def narrowest(x11, display, window):
    """The narrowest width the window had before it went away."""
    # A window that is gone is an X error, not the end of this process.
    ignore = ErrorHandler(lambda _display, _error: 0)
    x11.XSetErrorHandler(ignore)
    x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                         ctypes.POINTER(WindowAttributes)]
    seen = None
    attributes = WindowAttributes()
    for _ in range(20000):  # 20 s at most
        if not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
            break
        seen = attributes.width if seen is None else min(seen, attributes.width)
        time.sleep(0.001)
    return seen


def main():
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(Event)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(sys.argv[1], 0)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    event.xclient.data[1] = 0  # CurrentTime
    x11.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    if sys.argv[2:] == ["--narrowest"]:
        print(narrowest(x11, display, event.xclient.window))
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
