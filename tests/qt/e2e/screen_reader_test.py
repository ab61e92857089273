#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
"""The link state as a screen reader hears it.

The real program on a virtual X display and the simulated device, with Qt's AT-SPI bridge on
the private session bus of dbus-run-session. The tree is walked down from the application, as
Orca walks it (application, frame "VQX16", its children), to the status display that names the
port, its device and the link's word; then the device goes away and the display's new name
must be announced.

    dbus-run-session -- tests/qt/e2e/screen_reader_test.py VQX16 VQX16-SIM ENGLISH.LNG
"""
import os
import subprocess
import sys
import tempfile
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


def start_display():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display:
        return server, ":" + display.readline().strip()


def main(program, simulator, english):
    work = tempfile.TemporaryDirectory()
    link = os.path.join(work.name, "ttyVQX16")
    config = os.path.join(work.name, "config")
    os.makedirs(os.path.join(config, "VQX16"))
    with open(os.path.join(config, "VQX16", "VQX16.conf"), "w") as conf:
        conf.write(f"[Ports]\nCom1={link}\n")
    with open(os.path.join(config, "VQX16", "VQX.ini"), "w") as ini:
        ini.write(f"\r\n\r\n{english}\r\n")
    runtime = os.path.join(work.name, "runtime")
    os.mkdir(runtime, 0o700)

    children = []
    try:
        server, display = start_display()
        children.append(server)
        device = subprocess.Popen([simulator, "--link", link], stdout=subprocess.DEVNULL)
        children.append(device)
        if not wait_for(lambda: os.path.exists(link)):
            return "the simulated device made no line"
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_CONFIG_HOME=config,
                   XDG_RUNTIME_DIR=runtime, XDG_STATE_HOME=work.name,
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        vqx16 = subprocess.Popen([program], env=env)
        children.append(vqx16)

        def application():
            desktop = Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                if app is not None and app.get_process_id() == vqx16.pid:
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

        device.terminate()
        lost_name = f"Com1 ({link}): lost, retrying"
        if not wait_for(lambda: lost_name in heard):
            return f"not announced: {lost_name!r}; heard {heard}"
        if not state.get_description().startswith(link):
            return f"the reason is missing: {state.get_description()!r}"
        return None
    finally:
        for child in reversed(children):
            child.terminate()
            child.wait(10)


if __name__ == "__main__":
    failure = main(*sys.argv[1:4])
    if failure:
        print("FAILED:", failure, file=sys.stderr)
    sys.exit(1 if failure else 0)
