#!/usr/bin/env python3
"""Counts the controls without a name in the window's AT-SPI tree, the tree a screen reader
reads, on the "Composition" tab and on a unit tab.

    atspi_names.py PROGRAM            fails when a control has no name (a ctest)
    atspi_names.py --count PROGRAM    only prints the counts

A control is an object a user operates (button, check box, list, text field, tab, list
item...) or a leaf "filler" (a painted widget the reader knows nothing about). The program
runs under Xvfb and a private D-Bus session with the accessibility bus, with Qt's
accessibility switched on. Exits 77 (skipped) when one of those cannot be had."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "combo box", "text",
    "spin button", "slider", "dial", "list item", "table cell", "page tab", "list",
    "menu item", "check menu item",
}


def skip(reason):
    print("skipped: " + reason)
    sys.exit(SKIP)


def outer(args):
    """Starts this script again inside Xvfb and a D-Bus session of its own."""
    for tool in ("xvfb-run", "dbus-run-session"):
        if shutil.which(tool) is None:
            skip(tool + " is not installed")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("at-spi2-core is not installed")
    python = python_with_pyatspi()
    if python is None:
        skip("python3-pyatspi is not installed")
    env = dict(os.environ, LYRAVANE_ATSPI_INNER="1")
    command = ["xvfb-run", "-a", "-s", "-screen 0 1280x800x24", "dbus-run-session", "--",
               python, os.path.abspath(__file__)] + args
    try:
        return subprocess.run(command, env=env, timeout=150).returncode
    except subprocess.TimeoutExpired:
        skip("the accessibility session did not finish in time")


def python_with_pyatspi():
    """This interpreter or the system's, whichever has the distribution's pyatspi."""
    for python in (sys.executable, "/usr/bin/python3"):
        if python and subprocess.run([python, "-c", "import pyatspi"], capture_output=True,
                                     timeout=30).returncode == 0:
            return python
    return None


def find_app(registry, pid, deadline):
    while time.time() < deadline:
        desktop = registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.5)
    return None


def walk(node, found, seen, depth=0):
    """Collects the roles of the showing controls without a name; seen counts every
    showing control."""
    if node is None or depth > 60:
        return
    try:
        state = node.getState()
        import pyatspi
        if not state.contains(pyatspi.STATE_SHOWING):
            return
        role = node.getRoleName()
        name = (node.name or "").strip()
        count = node.childCount
    except Exception:
        return
    if role in CONTROL_ROLES or (role == "filler" and count == 0):
        seen.append(role)
        if not name:
            found.append(role)
    for i in range(min(count, 500)):
        try:
            walk(node.getChildAtIndex(i), found, seen, depth + 1)
        except Exception:
            pass


def press_tab(node, text, depth=0):
    """Presses the page tab called text; True when found."""
    if node is None or depth > 60:
        return False
    try:
        if node.getRoleName() == "page tab" and node.name == text:
            action = node.queryAction()
            for i in range(action.nActions):
                if action.getName(i).lower() in ("press", "click", "switch", "activate"):
                    action.doAction(i)
                    return True
            if action.nActions:
                action.doAction(0)
                return True
        for i in range(node.childCount):
            if press_tab(node.getChildAtIndex(i), text, depth + 1):
                return True
    except Exception:
        return False
    return False


def find_name(node, name, depth=0):
    """True when a node at or below node is named name."""
    if node is None or depth > 60:
        return False
    try:
        if (node.name or "").strip() == name:
            return True
        count = node.childCount
    except Exception:
        return False
    for i in range(min(count, 500)):
        try:
            if find_name(node.getChildAtIndex(i), name, depth + 1):
                return True
        except Exception:
            pass
    return False

def summary(found):
    kinds = {}
    for role in found:
        kinds[role] = kinds.get(role, 0) + 1
    return "%d (%s)" % (len(found), ", ".join("%s %d" % kv for kv in sorted(kinds.items())))


def inner(args):
    count_only = args[0] == "--count"
    program = args[-1]
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    home = tempfile.mkdtemp(prefix="lyravane-atspi-")
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               HOME=home, XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_RUNTIME_DIR=os.path.join(home, "run"), LANG="es_ES.UTF-8")
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    # With the song overview on: its blocks are controls too, each named for the reader.
    os.makedirs(os.path.join(env["XDG_CONFIG_HOME"], "Vemora"))
    with open(os.path.join(env["XDG_CONFIG_HOME"], "Vemora", "LYRV1999.conf"), "w") as conf:
        conf.write("[View]\nSongOverview=true\n")
    app_process = None
    try:
        time.sleep(1.0)
        try:
            import pyatspi
        except ImportError:
            skip("python3-pyatspi is not installed")
        app_process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        signal.alarm(120)
        app = find_app(pyatspi.Registry, app_process.pid, time.time() + 40)
        if app is None:
            skip("the program did not appear on the accessibility bus")
        time.sleep(2.0)
        composition, composition_seen = [], []
        walk(app, composition, composition_seen)
        if not press_tab(app, "Ptn.1"):
            print("no tab 'Ptn.1' could be pressed")
            return 1
        time.sleep(1.5)
        unit, unit_seen = [], []
        walk(app, unit, unit_seen)
        print("unnamed controls, Composition tab: %s of %d" %
              (summary(composition), len(composition_seen)))
        print("unnamed controls, unit tab Ptn.1: %s of %d" % (summary(unit), len(unit_seen)))
        if not composition_seen or not unit_seen:
            print("no controls found in the tree")
            return 1
        if count_only:
            return 0
        block = "Ptn.1, compases 1 a 4: C, F, G, C"
        if not find_name(app, block):
            print("no block of the song overview named %r" % block)
            return 1
        return 0 if not composition and not unit else 1
    finally:
        if app_process is not None:
            app_process.kill()
            app_process.wait()
        launcher.terminate()
        launcher.wait()
        shutil.rmtree(home, ignore_errors=True)


def main():
    args = sys.argv[1:]
    if not args:
        print(__doc__)
        return 2
    if os.environ.get("LYRAVANE_ATSPI_INNER") == "1":
        return inner(args)
    return outer(args)


if __name__ == "__main__":
    sys.exit(main())
