"""A stand-in for the desktop's tray: a StatusNotifierWatcher and its host on the session bus, as
panels that show StatusNotifierItems offer them. Checks what the program's tray icon shows and that
a click on it and its menu pause and resume it.

Run by tray.sh inside a private session bus. Arguments: the file to create once the watcher is on
the bus, the program (for its --status). Exits 0 when every check holds, 1 with the reason.
"""
import subprocess
import sys

from gi.repository import Gio, GLib

from waiting import fail, wait_for

WATCHER_XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
  </interface>
</node>
"""

ready_file, tallowin = sys.argv[1], sys.argv[2]
items = []  # (bus name, object path) of the items registered


def on_call(connection, sender, path, interface, method, parameters, invocation):
    if method == "RegisterStatusNotifierItem":
        service = parameters.unpack()[0]
        # The item names its bus name, or only its object path on the sender's connection.
        if service.startswith("/"):
            items.append((sender, service))
        else:
            items.append((service, "/StatusNotifierItem"))
        connection.emit_signal(None, path, interface, "StatusNotifierItemRegistered",
                               GLib.Variant("(s)", (service,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", [bus + path for bus, path in items])
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
node = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML)
bus.register_object("/StatusNotifierWatcher", node.interfaces[0], on_call, on_get, None)
owned = []
Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", Gio.BusNameOwnerFlags.NONE,
                               lambda *a: owned.append(True), lambda *a: fail("the watcher's name is taken"))
wait_for("name on the bus", lambda: owned)
open(ready_file, "w").close()

service, item_path = wait_for("item registered", lambda: items and items[0])


def call(path, interface, method, args, reply):
    return bus.call_sync(service, path, interface, method, args, GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


def prop(name):
    return call(item_path, "org.freedesktop.DBus.Properties", "Get",
                GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", name)), "(v)")[0]


def status_line():
    return subprocess.run([tallowin, "--status"], capture_output=True, text=True, timeout=20).stdout


def menu():
    """The menu's entries as (id, label), separators left out."""
    layout = call(prop("Menu"), "com.canonical.dbusmenu", "GetLayout", GLib.Variant("(iias)", (0, -1, [])),
                  "(u(ia{sv}av))")[1]
    return [(entry[0], entry[1]["label"]) for entry in layout[2] if "label" in entry[1]]


def click(label):
    """Clicks the menu entry with this label, as a panel does."""
    ids = [number for number, text in menu() if text == label]
    if not ids:
        fail("the menu has no %r: %s" % (label, menu()))
    call(prop("Menu"), "com.canonical.dbusmenu", "Event",
         GLib.Variant("(isvu)", (ids[0], "clicked", GLib.Variant("s", ""), 0)), "()")


def tooltip():
    return prop("ToolTip")[2]


def shows(state):
    """Whether the item and the program itself both say `state` ("watching" or "paused")."""
    return tooltip().startswith("Tallowin: %s\n" % state) and status_line().startswith(state + ";")


if prop("Status") != "Active":
    fail("the item's status is %r" % prop("Status"))
if not (tooltip().startswith("Tallowin: watching\nTarget: C:\\ (") and tooltip().endswith("\n0 grabs saved")):
    fail("the tooltip reads %r" % tooltip())
labels = [label for _, label in menu()]
if labels != ["Pause", "Open target folder", "Show window", "Exit"]:
    fail("the menu reads %s" % labels)
watching_icon = prop("IconPixmap")
if not watching_icon:
    fail("the item shows no icon")

# A click on the icon pauses: the tooltip, the menu, the icon and the program itself say so.
call(item_path, "org.kde.StatusNotifierItem", "Activate", GLib.Variant("(ii)", (0, 0)), "()")
wait_for("pause after a click on the icon", lambda: shows("paused"))
wait_for("Resume in the menu", lambda: [label for _, label in menu()][0] == "Resume")
if prop("IconPixmap") == watching_icon:
    fail("the paused icon is the one shown while watching")

# The menu resumes and pauses, and a click on the icon resumes.
click("Resume")
wait_for("resume from the menu", lambda: shows("watching"))
wait_for("the watching icon again", lambda: prop("IconPixmap") == watching_icon)
click("Pause")
wait_for("pause from the menu", lambda: shows("paused"))
call(item_path, "org.kde.StatusNotifierItem", "Activate", GLib.Variant("(ii)", (0, 0)), "()")
wait_for("resume after a click on the icon", lambda: shows("watching"))

# Exit, as the window's EXIT button: the program ends (tray.sh checks the settings file).
click("Exit")
print("tray: the item registered, showed its state and answered its menu", flush=True)
