#!/usr/bin/env python3
"""From starting the desktop program to its main window's first paint, on an
existing root: the median and spread over RUNS starts, with the machine's load.

    bench/start_visible.py BUILD_DIR [RUNS]

The program is started as a user starts it (its own process, the root set up
by an earlier start); TAVELIN_QUIT_WHEN_SHOWN makes it print the time of its
first paint and end there. Qt's offscreen platform unless QT_QPA_PLATFORM
says otherwise (an X server under Xvfb: QT_QPA_PLATFORM=xcb DISPLAY=:99)."""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def load():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    program = os.path.join(sys.argv[1], "bin", "tavelin")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, TAVELIN_ROOT=os.path.join(home, "root"),
                   TAVELIN_QUIT_WHEN_SHOWN="1")
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
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
