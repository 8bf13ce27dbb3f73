#!/usr/bin/python3
"""What the program asked of dbusmock's logind and notification daemon,
from their call logs (GetCalls), for the shell tests and the benchmark.

  bus_log.py clear                     forgets the calls so far
  bus_log.py scheduled TYPE SECONDS    a ScheduleShutdown of TYPE for
                                       SECONDS after logind got it (within
                                       a second); prints its usec
  bus_log.py notified TEXT             a notification saying TEXT
"""

import sys

import dbus

MOCK = "org.freedesktop.DBus.Mock"
SERVICES = {  # method -> (bus, name, path)
    "ScheduleShutdown": (dbus.SystemBus, "org.freedesktop.login1", "/org/freedesktop/login1"),
    "Notify": (dbus.SessionBus, "org.freedesktop.Notifications", "/org/freedesktop/Notifications"),
}


def mock(method):
    bus, name, path = SERVICES[method]
    return dbus.Interface(bus().get_object(name, path), MOCK)


def calls(method):
    """(seconds when it came, arguments) of each call since the last clear."""
    return [(int(when), list(args)) for when, args in mock(method).GetMethodCalls(method)]


def clear():
    for method in SERVICES:
        mock(method).ClearCalls()


def scheduled(kind, seconds):
    """The usec of a ScheduleShutdown of KIND about SECONDS after it came."""
    for when, (got, usec) in calls("ScheduleShutdown"):
        # its time is the second it came in, cut to whole seconds
        error = int(usec) - (when + seconds) * 1_000_000 - 500_000
        if str(got) == kind and abs(error) <= 1_500_000:
            return int(usec)
    return None


def main(question, *args):
    if question == "clear":
        return clear()
    if question == "scheduled":
        usec = scheduled(args[0], int(args[1]))
        if usec is not None:
            print(usec)
        return usec is None
    if question == "notified":
        return not any(str(call[4]) == args[0] for _, call in calls("Notify"))
    return 2


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
