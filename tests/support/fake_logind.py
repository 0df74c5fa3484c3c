#!/usr/bin/python3
"""A stand-in for logind on a private system bus, for end-to-end tests.

Owns org.freedesktop.login1 on the bus in DBUS_SYSTEM_BUS_ADDRESS and
exports /org/freedesktop/login1 with the part of
org.freedesktop.login1.Manager a client uses around sleep: the
PrepareForSleep(b) signal, Inhibit() (answered with one end of a pipe, whose
closing is reported) and the PreparingForSleep property.

Reads commands from stdin, one a line, and answers each on stdout once done:
  sleep  -> emits PrepareForSleep(true),  prints "emitted PrepareForSleep true"
  wake   -> emits PrepareForSleep(false), prints "emitted PrepareForSleep false"
Prints "ready" once it owns the name, "inhibit <what> <who> <why> <mode>" for
each Inhibit call and "released <who>" when its caller closes the descriptor.
End of input ends it. Debian's python3-dbus and python3-gi; run it with
/usr/bin/python3, where they are installed.
"""

import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

NAME = "org.freedesktop.login1"
PATH = "/org/freedesktop/login1"
MANAGER = "org.freedesktop.login1.Manager"


def say(line):
    print(line, flush=True)


class Manager(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.preparing = False

    @dbus.service.signal(MANAGER, signature="b")
    def PrepareForSleep(self, start):
        pass

    @dbus.service.method(MANAGER, in_signature="ssss", out_signature="h")
    def Inhibit(self, what, who, why, mode):
        read_end, write_end = os.pipe()
        say("inhibit %s %s %s %s" % (what, who, why.replace("\n", " "), mode))

        def closed(fd, _condition):
            say("released %s" % who)
            os.close(fd)
            return False

        GLib.io_add_watch(read_end, GLib.IO_HUP | GLib.IO_ERR, closed)
        # D-Bus passes a duplicate; the client's copy is the only one that keeps the pipe open.
        handle = dbus.types.UnixFd(write_end)
        os.close(write_end)
        return handle

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        if interface == MANAGER and prop == "PreparingForSleep":
            return dbus.Boolean(self.preparing)
        raise dbus.exceptions.DBusException("no property %s" % prop, name="org.freedesktop.DBus.Error.UnknownProperty")

    def emit(self, start):
        self.preparing = start
        self.PrepareForSleep(dbus.Boolean(start))
        say("emitted PrepareForSleep %s" % ("true" if start else "false"))


def main():
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    address = os.environ.get("DBUS_SYSTEM_BUS_ADDRESS")
    if not address:
        say("error: DBUS_SYSTEM_BUS_ADDRESS is not set")
        return 2
    bus = dbus.bus.BusConnection(address)
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    manager = Manager(bus)
    loop = GLib.MainLoop()

    def command(source, _condition):
        line = source.readline()
        if not line:
            loop.quit()
            return False
        word = line.strip()
        if word == "sleep":
            manager.emit(True)
        elif word == "wake":
            manager.emit(False)
        elif word:
            say("error: unknown command %s" % word)
        return True

    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, command)
    say("ready")
    loop.run()
    del name
    return 0


if __name__ == "__main__":
    sys.exit(main())
