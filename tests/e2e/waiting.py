"""What the end-to-end checks over D-Bus share: failing with the reason, and waiting for something
to happen while GLib's event loop runs."""
import sys
import time

from gi.repository import GLib

WAIT = 60  # seconds for anything to happen: generous, as the machine may be busy


def fail(why):
    print("FAIL: " + why, file=sys.stderr, flush=True)
    sys.exit(1)


def wait_for(what, check):
    """Runs the event loop until check() gives something, for at most WAIT seconds."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        found = check()
        if found:
            return found
        while context.pending():
            context.iteration(False)
        time.sleep(0.05)
    fail("no %s within %d s" % (what, WAIT))
