"""Listens to the program over AT-SPI as a screen reader does, and checks what it would say.

Run by screen_reader.sh inside a private session bus, with the program started once this says it
listens. Arguments: the file to create once listening, the main window's X id. Exits 0 when every
check holds, 1 with the reason when one does not.
"""
import subprocess
import sys

import pyatspi

from waiting import fail, wait_for

ready_file, main_window_file = sys.argv[1], sys.argv[2]
notifications = []  # the texts of the notifications shown, in order


def labels_text(accessible):
    """The text of the labels in an accessible, as a screen reader reads out a notification."""
    parts = []
    for child in accessible:
        if child is not None and child.getRole() == pyatspi.ROLE_LABEL:
            parts.append(child.name)
    return "\n".join(parts)


def heard(event):
    # A screen reader speaks a notification when it is shown (Orca: object:state-changed:showing).
    if event.detail1 != 1:
        return
    source = event.source
    if source is None or source.getRole() != pyatspi.ROLE_NOTIFICATION:
        return
    notifications.append(labels_text(source))


def descendants(accessible):
    for child in accessible:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "tallowin":
            return app
    return None


def window(title):
    app = program()
    if app is None:
        return None
    for w in app:
        if w is not None and w.name == title:
            return w
    return None


def named(root, role, name):
    for a in descendants(root):
        if a.getRole() == role and a.name == name:
            return a
    return None


def expect_named(root, role, names):
    for name in names:
        if named(root, role, name) is None:
            seen = sorted("%s %r" % (a.getRoleName(), a.name) for a in descendants(root))
            fail("no %s named %r; the window holds: %s" % (pyatspi.Role(role), name, ", ".join(seen)))


def notified(prefix):
    return lambda: next((n for n in notifications if n.startswith(prefix)), None)


pyatspi.Registry.registerEventListener(heard, "object:state-changed:showing")
open(ready_file, "w").close()

# The main window: each field is called by its caption.
main = wait_for("main window on the accessibility bus", lambda: window("Tallowin"))
expect_named(main, pyatspi.ROLE_TEXT, ["Target", "Name", "Number"])
expect_named(main, pyatspi.ROLE_PUSH_BUTTON, ["Browse", "EXIT"])

# The grab cannot be saved: the notice is spoken with its text.
first = wait_for("notification of the failed save", notified("Run-time error '"))
print("heard: " + first.replace("\n", " "), flush=True)

# A new text in the notice, still shown, is spoken again: a number that cannot advance.
number = named(main, pyatspi.ROLE_TEXT, "Number")
box = number.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
x_window = open(main_window_file).read().strip()
subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1"],
               check=True)
subprocess.run(["xdotool", "key", "--window", x_window, "ctrl+a"], check=True)
subprocess.run(["xdotool", "type", "--window", x_window, "--delay", "20", "1a9"], check=True)
second = wait_for("notification of the number that cannot advance", notified("Run-time error '13'"))
print("heard: " + second.replace("\n", " "), flush=True)
if first.startswith("Run-time error '13'"):
    fail("the first notice was already about the number")

# The chooser: the drive list keeps its name whichever drive it shows, and reads the drive as its text.
named(main, pyatspi.ROLE_PUSH_BUTTON, "Browse").queryAction().doAction(0)
chooser = wait_for("chooser window", lambda: window("Tallowin Target"))
expect_named(chooser, pyatspi.ROLE_LIST, ["Folders", "Files"])
expect_named(chooser, pyatspi.ROLE_COMBO_BOX, ["Drive"])
drive = named(chooser, pyatspi.ROLE_COMBO_BOX, "Drive").queryText()
shown = drive.getText(0, -1)
if not shown.startswith("C: "):
    fail("the drive list reads %r, not the drive it shows" % shown)
print("drive list: Drive, reading %r" % shown, flush=True)
