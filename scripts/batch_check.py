#!/usr/bin/python3
"""A library of fittings through `tavelin-cli batch`, checked from outside.

    scripts/batch_check.py BIN_DIR [ROWS] [--screenshot OUT.png]

Installs a fresh root, writes a CSV of ROWS fittings (elbows of every size and
angle, dampers of every type, straight ducts; 1000 by default), runs the
batch and reports its time, reads every block back with ezdxf and counts the
audit's fixes, and checks the catalogue in Chromium headless when it is
installed: the page's DOM as the browser built it must hold one picture per
block, and --screenshot keeps a picture of the page.
"""
import csv
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def library(rows):
    sizes = [150, 200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000]
    angles = [15, 30, 45, 60, 75, 90]
    out = []
    i = 0
    while len(out) < rows:
        w = sizes[i % len(sizes)]
        kind = i % 5
        if kind in (0, 1, 2):
            a = angles[(i // 5) % len(angles)]
            r = w // 2 if kind != 2 else w // 2 - 1  # every third elbow below the radius rule
            out.append({"stem": "Erbo", "W1": w, "R": r, "W2": w, "A": a, "L1": 100 + i % 7 * 10})
        elif kind == 3:
            t = ["VD", "MD", "CD", "FD", "FD+"][(i // 5) % 5]
            out.append({"stem": "Danpa", "type": t, "L1": 300, "L2": 300, "D": f"{w}x{max(w // 4, 100)}"})
        else:
            out.append({"stem": "Choku", "size": w, "length": 1000 + i, "pitch": 1820})
        i += 1
    return out


def main():
    args = sys.argv[1:]
    shot = None
    if "--screenshot" in args:
        k = args.index("--screenshot")
        shot = os.path.abspath(args[k + 1])
        del args[k:k + 2]
    bin_dir = args[0]
    rows = int(args[1]) if len(args) > 1 else 1000
    cli = os.path.join(bin_dir, "tavelin-cli")
    work = tempfile.mkdtemp(prefix="tavelin-batch-check-")
    try:
        root = os.path.join(work, "root")
        out = os.path.join(work, "blocks")
        subprocess.run([cli, "--root", root, "init"], check=True, stdout=subprocess.DEVNULL)
        table = library(rows)
        names = ["stem", "type", "W1", "R", "W2", "A", "L1", "L2", "D", "size", "length", "pitch"]
        path = os.path.join(work, "library.csv")
        with open(path, "w", newline="", encoding="utf-8") as f:
            writer = csv.DictWriter(f, fieldnames=names)
            writer.writeheader()
            writer.writerows(table)
        start = time.monotonic()
        run = subprocess.run([cli, "--root", root, "batch", path, "--out", out],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        seconds = time.monotonic() - start
        print(run.stdout.splitlines()[0])
        blocks = sorted(glob.glob(os.path.join(out, "*.dxf")))
        print(f"batch of {rows} rows: {seconds:.2f} s wall, exit {run.returncode}, {len(blocks)} blocks")
        failed = run.returncode != 0
        try:
            import ezdxf
            fixes = errors = 0
            for block in blocks:
                doc = ezdxf.readfile(block)
                auditor = doc.audit()
                fixes += len(auditor.fixes)
                errors += len(auditor.errors)
            print(f"ezdxf: {len(blocks)} blocks read, {fixes} audit fixes, {errors} errors")
            failed = failed or fixes or errors
        except ImportError:
            print("ezdxf: not installed, blocks not read back")
        browser = shutil.which("chromium") or shutil.which("chromium-browser")
        page = "file://" + os.path.join(out, "index.html")
        if browser:
            common = [browser, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars"]
            dom = subprocess.run(common + ["--dump-dom", page], stdout=subprocess.PIPE,
                                 stderr=subprocess.DEVNULL, text=True, timeout=300).stdout
            pictures = len(re.findall(r"<svg\b", dom))
            print(f"chromium: {pictures} pictures in the page for {len(blocks)} blocks")
            failed = failed or pictures != len(blocks)
            if shot:
                subprocess.run(common + [f"--screenshot={shot}", "--window-size=1200,900", page],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
                print(f"screenshot: {shot}")
        else:
            print("chromium: not installed, page not opened")
        return 1 if failed else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
