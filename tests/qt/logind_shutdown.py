"""dbusmock template: its logind, plus the scheduled-shutdown calls the
program makes, answered as logind does after a delay the test sets,
refused with the error the test names, or refused where the caller does
not let polkit ask the user (ALLOW_INTERACTIVE_AUTHORIZATION)."""

import dbus
from dbusmock import MOCK_IFACE
from dbusmock.templates import logind
from gi.repository import GLib

BUS_NAME = logind.BUS_NAME
MAIN_OBJ = logind.MAIN_OBJ
MAIN_IFACE = logind.MAIN_IFACE
SYSTEM_BUS = True


def load(mock, parameters):
    logind.load(mock, parameters)
    mock.refusal = ""
    mock.wants_interactive = False
    mock.delay_ms = 0
    mock.pending = False


def answer(mock, message, reply, error, done, refusable):
    if mock.refusal and refusable:
        failure = dbus.exceptions.DBusException("refused by the test", name=mock.refusal)
    elif mock.wants_interactive and not message.get_allow_interactive_authorization():
        failure = dbus.exceptions.DBusException(
            "Interactive authentication required.",
            name="org.freedesktop.DBus.Error.InteractiveAuthorizationRequired")
    else:
        failure = None
    GLib.timeout_add(mock.delay_ms, lambda: (error(failure) if failure else reply(*done())) and False)


@dbus.service.method(MAIN_IFACE, in_signature="st", out_signature="", message_keyword="message",
                     async_callbacks=("reply", "error"))
def ScheduleShutdown(self, _kind, _usec, message, reply, error):
    def done():
        self.pending = True
        return ()
    answer(self, message, reply, error, done, refusable=True)


@dbus.service.method(MAIN_IFACE, in_signature="", out_signature="b", message_keyword="message",
                     async_callbacks=("reply", "error"))
def CancelScheduledShutdown(self, message, reply, error):
    def done():
        cancelled, self.pending = self.pending, False
        return (cancelled,)
    answer(self, message, reply, error, done, refusable=False)


@dbus.service.method(MOCK_IFACE, in_signature="sv", out_signature="")
def Set(self, setting, value):
    """refusal: the error ScheduleShutdown fails with, empty to accept;
    wants_interactive; delay_ms; present: without its name logind is
    absent, and the test reaches this object by the connection's unique
    name meanwhile."""
    if setting == "present":
        (self.connection.request_name if value else self.connection.release_name)(BUS_NAME)
    elif hasattr(self, setting):
        setattr(self, str(setting), value)
    else:
        raise dbus.exceptions.DBusException("no setting " + setting,
                                            name="org.freedesktop.DBus.Error.InvalidArgs")
