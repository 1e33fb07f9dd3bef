#!/usr/bin/env python3
"""A window stored minimised starts minimised under a real window manager.

Usage: minimised_start.py PATH/TO/lyravane

Starts Xvfb and openbox, stores the main window's placement with show command 2
(minimised), starts the program and reads the window's WM_STATE with xprop: the window
manager must hold it as Iconic. Skips (exit 77) when Xvfb, openbox or xprop is missing.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SKIP = 77


def wait_for(predicate, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    return None


def xprop(env, *args):
    result = subprocess.run(["xprop", *args], env=env, capture_output=True, text=True)
    return result.stdout if result.returncode == 0 else ""


def placement_value(show_cmd, left, top):
    # length, flags, show command, minimised position, maximised position, normal rectangle
    fields = [44, 0, show_cmd, 0, 0, 0, 0, left, top, left + 640, top + 452]
    raw = struct.pack("<11i", *fields)
    return "@ByteArray(" + "".join("\\x%02x" % b for b in raw) + ")"


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    program = sys.argv[1]
    for tool in ("Xvfb", "openbox", "xprop"):
        if shutil.which(tool) is None:
            print("SKIP: %s is not installed" % tool)
            return SKIP

    processes = []
    with tempfile.TemporaryDirectory(prefix="lyravane-minimised-") as home:
        config = os.path.join(home, "config", "Vemora")
        os.makedirs(config)
        with open(os.path.join(config, "LYRV1999.conf"), "w") as f:
            f.write('[General]\nLyravaneMainForm_Placement="%s"\n' % placement_value(2, 100, 80))
        try:
            read_fd, write_fd = os.pipe()
            xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
            processes.append(xvfb)
            os.close(write_fd)
            with os.fdopen(read_fd) as r:
                display = ":" + r.readline().strip()
            env = dict(os.environ, DISPLAY=display, HOME=home,
                       XDG_CONFIG_HOME=os.path.join(home, "config"),
                       XDG_RUNTIME_DIR=home, QT_QPA_PLATFORM="xcb")
            processes.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL))
            if not wait_for(lambda: "window id" in xprop(env, "-root", "_NET_SUPPORTING_WM_CHECK"), 10):
                print("FAIL: openbox did not start")
                return 1
            processes.append(subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                              stderr=subprocess.DEVNULL))

            def window():
                ids = xprop(env, "-root", "_NET_CLIENT_LIST").split("#")[-1].split(",")
                ids = [i.strip() for i in ids if i.strip().startswith("0x")]
                return ids[0] if ids else None

            win = wait_for(window, 20)
            if win is None:
                print("FAIL: the main window never appeared")
                return 1
            state = wait_for(lambda: "Iconic" in xprop(env, "-id", win, "WM_STATE"), 5)
            if not state:
                print("FAIL: the window manager holds the window as: %s"
                      % xprop(env, "-id", win, "WM_STATE").strip())
                return 1
            print("PASS: the window started minimised (WM_STATE Iconic)")
            return 0
        finally:
            for p in reversed(processes):
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()


if __name__ == "__main__":
    sys.exit(main())
