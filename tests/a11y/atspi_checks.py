"""What the AT-SPI checks share (Debian's pyatspi, /usr/bin/python3): named checks that collect
failures, waits that keep the GLib main context turning so that events arrive, the events heard,
a node's states and the application of a process."""
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []
events = []  # (type, source, detail1, detail2, any_data) in the order heard


def check(name, ok, detail=""):
    if not ok:
        failures.append(name)
        print(f"FAILED: {name} {detail}", file=sys.stderr)


def wait_for(predicate, seconds):
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        try:
            if predicate():
                return True
        except Exception:  # a node that went away while asked
            pass
        time.sleep(0.02)
    return False


def on_event(event):
    events.append((event.type, event.source, event.detail1, event.detail2, event.any_data))


def states(node):
    return set(node.getState().getStates())


def application_of(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None
