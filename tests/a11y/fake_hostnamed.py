#!/usr/bin/python3
"""Answers as systemd-hostnamed on the bus it is given, so that registering in the session check
never reaches the machine's host name. Every name it is asked to set is written to stdout."""
import sys

from gi.repository import Gio, GLib

INTERFACE = """
<node>
  <interface name="org.freedesktop.hostname1">
    <method name="SetStaticHostname"><arg type="s" direction="in"/><arg type="b" direction="in"/></method>
    <method name="SetHostname"><arg type="s" direction="in"/><arg type="b" direction="in"/></method>
  </interface>
</node>
"""


def answer(connection, sender, path, interface, method, parameters, invocation):
    print(method, parameters.unpack()[0], flush=True)
    invocation.return_value(None)


def main():
    bus = Gio.DBusConnection.new_for_address_sync(
        sys.argv[1],
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
        None, None)
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    bus.register_object("/org/freedesktop/hostname1", node.interfaces[0], answer, None, None)
    Gio.bus_own_name_on_connection(bus, "org.freedesktop.hostname1", Gio.BusNameOwnerFlags.NONE,
                                   lambda *_: print("ready", flush=True), None)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
