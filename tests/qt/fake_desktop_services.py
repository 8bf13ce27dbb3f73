#!/usr/bin/python3
"""Stand-ins for systemd-logind (on the test's "system" bus) and a
notification daemon (on its session bus). Every call is appended to a log
as one JSON object per line, with the wall-clock time it arrived."""

import argparse
import json
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

LOGIN1 = "org.freedesktop.login1"
CONTROL = "org.tavimo.Test.Control"


class Log:
    def __init__(self, path):
        self.file = open(path, "a", encoding="utf-8")

    def write(self, **entry):
        entry["received_usec"] = time.time_ns() // 1000
        self.file.write(json.dumps(entry, ensure_ascii=False) + "\n")
        self.file.flush()


class Login1(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/login1")
        self.bus = bus
        self.log = log
        self.refuse = False
        self.pending = None
        self.name = dbus.service.BusName(LOGIN1, bus)
        self.control = dbus.service.BusName(CONTROL, bus)

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="st", out_signature="")
    def ScheduleShutdown(self, kind, usec):
        self.log.write(call="ScheduleShutdown", type=str(kind), usec=int(usec), refused=self.refuse)
        if self.refuse:
            raise dbus.exceptions.DBusException(
                "Access denied by the test's policy", name="org.freedesktop.DBus.Error.AccessDenied")
        self.pending = (str(kind), int(usec))

    @dbus.service.method("org.freedesktop.login1.Manager", in_signature="", out_signature="b")
    def CancelScheduledShutdown(self):
        cancelled = self.pending is not None
        self.log.write(call="CancelScheduledShutdown", cancelled=cancelled)
        self.pending = None
        return cancelled

    # Reached through its own name, so that it works while logind is absent.
    @dbus.service.method(CONTROL, in_signature="b", out_signature="")
    def SetRefuse(self, refuse):
        self.refuse = bool(refuse)

    @dbus.service.method(CONTROL, in_signature="b", out_signature="")
    def SetPresent(self, present):
        """Without the name, logind is absent for the program."""
        if present:
            self.name = dbus.service.BusName(LOGIN1, self.bus)
        else:
            self.bus.release_name(LOGIN1)
            self.name = None


class Notifications(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.last = 0
        self.name = dbus.service.BusName("org.freedesktop.Notifications", bus)

    @dbus.service.method("org.freedesktop.Notifications", in_signature="susssasa{sv}i",
                         out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.last += 1
        self.log.write(call="Notify", app=str(app), summary=str(summary), body=str(body))
        return self.last


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--system", required=True)
    parser.add_argument("--session", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--ready", required=True)
    args = parser.parse_args()

    DBusGMainLoop(set_as_default=True)
    log = Log(args.log)
    system = dbus.bus.BusConnection(args.system)
    session = dbus.bus.BusConnection(args.session)
    services = [Login1(system, log), Notifications(session, log)]
    with open(args.ready, "w", encoding="utf-8") as ready:
        ready.write("ready\n")
    GLib.MainLoop().run()
    del services


if __name__ == "__main__":
    main()
