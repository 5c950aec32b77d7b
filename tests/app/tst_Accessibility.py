"""What a screen reader finds in KIVRA's window, read through AT-SPI from a real X session.

Run as: xvfb-run -a dbus-run-session -- /usr/bin/python3 tst_Accessibility.py KIVRA
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def find_app(name, seconds=90):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    return None


def walk(node, depth=0):
    if node is None or depth > 60:
        return
    yield node
    for child in node:
        yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def by_name(app, name, role=None):
    for node in walk(app):
        if node.name == name and (role is None or node.getRoleName() == role):
            return node
    return None


def wait_for(condition, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.1)
    return False


def press(node, action):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            actions.doAction(i)
            return True
    return False


def main():
    config = tempfile.mkdtemp()
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               XDG_CONFIG_HOME=config)
    # The accessibility bus is started on demand: started before the program, it is there
    # when the program looks for it at start-up, which it does only once.
    pyatspi.Registry.getDesktop(0).childCount
    program = subprocess.Popen([sys.argv[1]], env=env, stderr=subprocess.DEVNULL)
    try:
        # A sanitizer build on a busy machine takes its time to reach the bus.
        app = find_app("Antenne analyzer")
        if app is None:
            print("FAIL: the window never appeared on the accessibility bus")
            return 1
        wait_for(lambda: by_name(app, "Cursor 1 frequency") is not None)

        # "Min SWR" toggled the way a screen reader does it shows the third row.
        box = by_name(app, "Min SWR", "check box")
        check(box is not None and press(box, "Toggle"), "Min SWR cannot be toggled")
        wait_for(lambda: showing(by_name(app, "Min SWR frequency")))

        fields = [n for n in walk(app) if n.getRoleName() == "text" and showing(n)
                  and n.name.startswith(("Cursor 1 ", "Cursor 2 ", "Min SWR "))]
        names = [n.name for n in fields]
        check(len(names) == 29, "expected 29 readout fields, found %d" % len(names))
        check(len(set(names)) == len(names), "readout names repeat: %s" % names)
        for field in fields:
            text = field.queryText()
            check(text.getText(0, -1) == text.getText(0, text.characterCount),
                  "value of %s" % field.name)

        graph = by_name(app, "Graph")
        check(graph is not None and "1.810 to 2.000 MHz" in graph.description,
              "graph description: %r" % (graph and graph.description))
        check("curves Rx, Xx" in graph.description, "curves in %r" % graph.description)
        smith = by_name(app, "Smith chart")
        check(smith is not None and "50 ohm" in smith.description, "Smith chart description")

        # A sweep on a port that is not there: the status bar says why, and is heard.
        button = by_name(app, "Mensuration", "push button")
        check(button is not None and press(button, "Press"), "Mensuration cannot be pressed")
        check(wait_for(lambda: any(n.getRoleName() == "status bar"
                                   and n.name.startswith("Port COM9") for n in walk(app))),
              "the status bar's account is not on the bus")
    finally:
        program.terminate()
        program.wait(10)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
