#!/usr/bin/env python3
"""From starting the desktop program to its main window's first paint, on an
existing root: the median and spread over RUNS starts, with the machine's load.

    bench/start_visible.py [--no-hold] BUILD_DIR [RUNS]

The program is started as a user starts it (its own process, the root set up
by an earlier start); TAVELIN_QUIT_WHEN_SHOWN makes it print the time of its
first paint and end there. Qt's offscreen platform unless QT_QPA_PLATFORM
says otherwise (an X server under Xvfb: QT_QPA_PLATFORM=xcb DISPLAY=:99).

On an X server the script stays connected to it while it measures, as a
desktop's window manager and panel do: an X server (Xvfb unless started with
-noreset) resets itself each time its last client leaves, compiling its
keyboard map anew with xkbcomp, about 70-90 ms of the server's CPU that the
next start would wait for. --no-hold measures without that connection."""
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import sys
import tempfile
import time


def load():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def hold_display():
    """A connection to the X server of DISPLAY, kept open while the starts
    run; None when there is no X server or no libxcb."""
    name = ctypes.util.find_library("xcb")
    if not name or not os.environ.get("DISPLAY"):
        return None
    xcb = ctypes.CDLL(name)
    xcb.xcb_connect.restype = ctypes.c_void_p
    xcb.xcb_connect.argtypes = [ctypes.c_char_p, ctypes.c_void_p]
    xcb.xcb_connection_has_error.argtypes = [ctypes.c_void_p]
    connection = xcb.xcb_connect(None, None)
    if not connection or xcb.xcb_connection_has_error(connection):
        return None
    return xcb, connection


def main():
    args = sys.argv[1:]
    hold = "--no-hold" not in args
    args = [a for a in args if a != "--no-hold"]
    if not args:
        sys.exit(__doc__)
    program = os.path.join(args[0], "bin", "tavelin")
    runs = int(args[1]) if len(args) > 1 else 20
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, TAVELIN_ROOT=os.path.join(home, "root"),
                   TAVELIN_QUIT_WHEN_SHOWN="1")
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
        held = None
        if hold and env["QT_QPA_PLATFORM"] == "xcb":
            held = hold_display()
            print("X server: one connection held while measuring" if held
                  else "X server: no connection held (no libxcb or no DISPLAY)")
        elif env["QT_QPA_PLATFORM"] == "xcb":
            print("X server: no connection held (--no-hold)")
        print("load:", load())
        # The first start sets the root up; it is not what is measured.
        subprocess.run([program], env=env, stdout=subprocess.DEVNULL, check=True, timeout=600)
        times = []
        for _ in range(runs):
            started = time.time()
            out = subprocess.run([program], env=env, stdout=subprocess.PIPE, text=True,
                                 check=True, timeout=120).stdout
            shown = float(out.split()[1])
            times.append((shown - started) * 1000)
        times.sort()
        print("start to visible: median %.0f ms, fastest %.0f ms, slowest %.0f ms over %d starts"
              % (statistics.median(times), times[0], times[-1], runs))
        print("load:", load())


main()
