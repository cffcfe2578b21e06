#!/usr/bin/python3
"""What a screen reader sees of Wirevane, through the real accessibility bus (AT-SPI).

Run inside an X server and a D-Bus session of its own, for example:
  xvfb-run -a dbus-run-session -- tests/atspi/screenreader_listing.py build/desktop/wirevane FILE.kfm

Starts the program on FILE, lists the main window's and the object window's controls, starts
the animation through the toolbar button's accessible action, opens the navigation bar's extra
settings the same way, and lists every button of the navigation bar and the animation window's
description. Fails when a button has no name or a turn-pad button is missing."""

import os
import subprocess
import sys
import tempfile
import time

import pyatspi

DEADLINE_SECONDS = 60
BUTTON_ROLES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX}
CONTROL_ROLES = BUTTON_ROLES | {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SPIN_BUTTON,
                                pyatspi.ROLE_TABLE}
TURN_PAD = ["Turn up", "Turn left", "Run", "Turn right", "Turn down"]


def wait_for(what, find, seconds=DEADLINE_SECONDS):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.25)
    sys.exit(f"timed out waiting for {what}")


def application(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def window(app, title):
    for i in range(app.childCount):
        frame = app.getChildAtIndex(i)
        if frame is not None and frame.name == title and showing(frame):
            return frame
    return None


def controls(node, roles):
    return [n for n in walk(node) if n.getRole() in roles and showing(n)]


def describe(node):
    text = f"  {node.getRoleName()}: \"{node.name}\""
    if node.description:
        text += f" ({node.description})"
    return text


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "Press", "toggle", "Toggle", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def main():
    program, object_file = sys.argv[1], sys.argv[2]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               XDG_STATE_HOME=tempfile.mkdtemp())
    env.pop("QT_QPA_PLATFORM", None)  # the X server, so the bridge runs
    run = subprocess.Popen([program, object_file], env=env)
    failures = []
    try:
        app = wait_for("the program on the bus", lambda: application("wirevane"))
        frame = wait_for("the main window", lambda: window(app, "travenor Wirevane 3.0"))
        # The object window opens after the splash.
        text = wait_for("the object text", lambda: next(
            (n for n in walk(frame) if n.name == "Object text" and showing(n)), None))
        document = next((n for n in walk(frame) if n.name.startswith("3D-Objekt")), None)
        inside = set()
        if document is not None:
            print(f"Object window \"{document.name}\" ({document.getRoleName()}):")
            for node in controls(document, CONTROL_ROLES):
                inside.add(hash(node))
                print(describe(node))
        print("Main window \"travenor Wirevane 3.0\":")
        for node in controls(frame, CONTROL_ROLES | {pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM}):
            if hash(node) not in inside:
                print(describe(node))

        animate = next((n for n in controls(frame, BUTTON_ROLES)
                        if n.name == "Animate 3D-Object"), None)
        if animate is None:
            sys.exit("no \"Animate 3D-Object\" button on the toolbar")
        press(animate)
        bar = wait_for("the navigation bar", lambda: window(app, "Navigationbar"))
        more = wait_for("\"more settings ...\"", lambda: next(
            (n for n in controls(bar, BUTTON_ROLES) if n.name.startswith("more settings")),
            None))
        press(more)
        wait_for("the extra settings", lambda: next(
            (n for n in controls(bar, BUTTON_ROLES) if n.name == "Zoom in"), None))
        time.sleep(1.5)  # the picture's description follows within a second

        picture = window(app, "3D-Animation")
        print("Animation window \"3D-Animation\":")
        print(f"  description: {picture.description if picture else '(not found)'}")
        if picture is None or "points" not in picture.description:
            failures.append("the animation window does not describe its picture")

        print("Navigation bar \"Navigationbar\":")
        buttons = controls(bar, BUTTON_ROLES | {pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TEXT})
        for node in buttons:
            print(describe(node))
            if not node.name.strip():
                failures.append(f"a {node.getRoleName()} without a name")
        names = [n.name for n in buttons]
        for wanted in TURN_PAD + ["Zoom in", "Zoom out", "Cross", "3D-Data", "Number", "Speed"]:
            if wanted not in names:
                failures.append(f"no \"{wanted}\" on the navigation bar")
    finally:
        run.terminate()
        try:
            run.wait(10)
        except subprocess.TimeoutExpired:
            run.kill()
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
