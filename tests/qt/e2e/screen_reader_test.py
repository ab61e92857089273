#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The link state as a screen reader hears it, on the running program (dbus_test.sh).

Walked down from the application as Orca walks it (application, frame "VQX16", its children) to
the status display that names the port, its device and the link's word; then the device goes
away and the display's new name must be announced.
"""
import os
import signal
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def wait_for(condition, seconds=30):
    """Runs the AT-SPI events until the condition gives something; None after the time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        GLib.MainContext.default().iteration(False)
        time.sleep(0.02)
    return None


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def main(program, device, link):
    def application():
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == program:
                return app
        return None

    app = wait_for(application)
    if app is None:
        return "the program is not in the accessibility tree"
    # Listening starts before the walk: the program learns of a new listener from the
    # registry's signal, which reaches it before the walk's own questions do.
    heard = []
    listener = Atspi.EventListener.new(
        lambda event: heard.append(event.source.get_name() if event.source else None))
    listener.register("object:property-change:accessible-name")
    frames = [n for n in descendants(app) if n.get_role() == Atspi.Role.FRAME]
    if [f.get_name() for f in frames] != ["VQX16"]:
        return f"frames: {[f.get_name() for f in frames]}"
    open_name = f"Com1 ({link}): open"
    state = wait_for(lambda: next((n for n in descendants(frames[0])
                                   if n.get_role() == Atspi.Role.STATUS_BAR
                                   and n.get_name() == open_name), None))
    if state is None:
        return f"no status display named {open_name!r} under the frame"

    os.kill(device, signal.SIGTERM)
    lost_name = f"Com1 ({link}): lost, retrying"
    if not wait_for(lambda: lost_name in heard):
        return f"not announced: {lost_name!r}; heard {heard}"
    if not state.get_description().startswith(link):
        return f"the reason is missing: {state.get_description()!r}"
    return None


if __name__ == "__main__":
    failure = main(int(sys.argv[1]), int(sys.argv[2]), sys.argv[3])
    if failure:
        print("FAILED:", failure, file=sys.stderr)
    sys.exit(1 if failure else 0)
