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
MANAGER = "org.freedesktop.login1.Manager"
CONTROL = "org.tavimo.Test.Control"


class Log:
    def __init__(self, path):
        self.file = open(path, "a", encoding="utf-8")

    def write(self, **entry):
        entry["received_usec"] = time.time_ns() // 1000
        self.file.write(json.dumps(entry, ensure_ascii=False) + "\n")
        self.file.flush()


class Login1(dbus.service.Object):
    """Answers as logind does, after a delay the test sets, refusing with
    the error the test names. Logs whether each request let polkit ask the
    user (the ALLOW_INTERACTIVE_AUTHORIZATION header flag)."""

    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/login1")
        self.bus = bus
        self.log = log
        self.refusal = None
        self.wants_interactive = False
        self.delay_ms = 0
        self.pending = None
        self.name = dbus.service.BusName(LOGIN1, bus)
        self.control = dbus.service.BusName(CONTROL, bus)

    def respond(self, message, reply, error, done, scheduling=False, **entry):
        """Logs the call, then answers after the delay: refused, or done()."""
        interactive = bool(message.get_allow_interactive_authorization())
        failure = None
        if self.refusal and scheduling:
            failure = dbus.exceptions.DBusException(self.refusal[1], name=self.refusal[0])
        elif self.wants_interactive and not interactive:
            # polkit's auth_admin through logind, for a caller that does not let it ask
            failure = dbus.exceptions.DBusException(
                "Interactive authentication required.",
                name="org.freedesktop.DBus.Error.InteractiveAuthorizationRequired")
        self.log.write(**entry, refused=failure is not None, interactive=interactive)
        answer = (lambda: error(failure)) if failure else (lambda: reply(*done()))
        GLib.timeout_add(self.delay_ms, lambda: answer() and False)

    @dbus.service.method(MANAGER, in_signature="st", out_signature="", message_keyword="message",
                         async_callbacks=("reply", "error"))
    def ScheduleShutdown(self, kind, usec, message, reply, error):
        def done():
            self.pending = (str(kind), int(usec))
            return ()
        self.respond(message, reply, error, done, scheduling=True, call="ScheduleShutdown",
                     type=str(kind), usec=int(usec))

    @dbus.service.method(MANAGER, in_signature="", out_signature="b", message_keyword="message",
                         async_callbacks=("reply", "error"))
    def CancelScheduledShutdown(self, message, reply, error):
        def done():
            cancelled, self.pending = self.pending is not None, None
            return (cancelled,)
        self.respond(message, reply, error, done, call="CancelScheduledShutdown",
                     cancelled=self.pending is not None)

    # Reached through its own name, so that it works while logind is absent.
    @dbus.service.method(CONTROL, in_signature="ss", out_signature="")
    def SetRefusal(self, name, text):
        """ScheduleShutdown fails with this error; an empty name accepts."""
        self.refusal = (str(name), str(text)) if name else None

    @dbus.service.method(CONTROL, in_signature="b", out_signature="")
    def SetWantsInteractive(self, wants):
        """Refuses requests that do not allow interactive authorization."""
        self.wants_interactive = bool(wants)

    @dbus.service.method(CONTROL, in_signature="u", out_signature="")
    def SetDelay(self, ms):
        self.delay_ms = int(ms)

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
        self.log.write(call="Notify", app=str(app), summary=str(summary), body=str(body),
                       urgency=int(hints.get("urgency", 1)))
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
