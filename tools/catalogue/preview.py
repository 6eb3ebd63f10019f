#!/usr/bin/env python3
"""Renders catalogue files to PNG pictures for checking them by eye.

    python3 preview.py part FILE.ajc OUT.png      a part file, fitted to 600 x 600
    python3 preview.py sheet FILE.tec OUT.png     a sheet as the part menu maps it
    python3 preview.py parts OUT.png FILE.ajc...  several parts, four to a row

Part files are read back the way the part menu reads them (the scaled line
fields, the negated arc centre y), so the picture shows what the menu will
draw: solid black, hidden blue, centre lines red.  A sheet is drawn at the
menu's client pixels (230 + x * s, 11 + y * s), s = scale x 0.195.
"""

import math
import struct
import sys
import zlib

COLOURS = {1: (0, 0, 0), 2: (0, 0, 220), 5: (220, 0, 0)}


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = bytearray(b"\xff" * (width * height * 3))

    def dot(self, x, y, rgb):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            i = (y * self.w + x) * 3
            self.px[i:i + 3] = bytes(rgb)

    def line(self, x1, y1, x2, y2, rgb):
        n = int(max(abs(x2 - x1), abs(y2 - y1))) + 1
        for k in range(n + 1):
            t = k / n
            self.dot(x1 + (x2 - x1) * t, y1 + (y2 - y1) * t, rgb)

    def arc(self, cx, cy, r, a0, a1, rgb, y_down=True):
        sweep = (a1 - a0) % 360.0 or 360.0
        n = max(8, int(r * math.radians(sweep)) + 1)
        for k in range(n + 1):
            a = math.radians(a0 + sweep * k / n)
            y = cy - r * math.sin(a) if y_down else cy + r * math.sin(a)
            self.dot(cx + r * math.cos(a), y, rgb)

    def save(self, path):
        raw = b"".join(b"\x00" + bytes(self.px[y * self.w * 3:(y + 1) * self.w * 3])
                       for y in range(self.h))

        def chunk(tag, data):
            c = struct.pack(">I", len(data)) + tag + data
            return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8,
                                                                   2, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(path, "wb") as f:
            f.write(png)


def read_lines(path):
    with open(path, "rb") as f:
        return f.read().decode("cp932").split("\r\n")[:-1]


def part_elements(path):
    """(header fields, elements) of a part file in real coordinates, y up."""
    lines = read_lines(path)
    header = [float(v) for v in lines[0].split(",")]
    elements = []
    for line in lines[1:]:
        f = [float(v) for v in line.split(",")]
        if int(f[0]) == 1:
            elements.append(("line", int(f[1]), f[3], f[4] * -0.5, f[5] / 3, f[6] * -0.25))
        else:
            elements.append(("arc", int(f[1]), f[3], -f[4], f[5], f[6], f[7]))
    return header, elements


def render_part(path, out, size=600, canvas=None, ox=0, oy=0):
    header, elements = part_elements(path)
    right, bottom, left, top = header[2:6]
    k = (size - 40) / max(right + left, top + bottom, 1e-6)
    own = canvas is None
    if own:
        canvas = Canvas(size, size)
    else:
        for i in range(size):
            canvas.dot(ox + i, oy, (160, 160, 160))
            canvas.dot(ox, oy + i, (160, 160, 160))

    def tx(x):
        return ox + 20 + (x + left) * k

    def ty(y):
        return oy + 20 + (top - y) * k

    canvas.line(tx(-5 / k), ty(0), tx(5 / k), ty(0), (0, 160, 0))
    canvas.line(tx(0), ty(-5 / k), tx(0), ty(5 / k), (0, 160, 0))
    for e in elements:
        rgb = COLOURS.get(e[1], (120, 120, 120))
        if e[0] == "line":
            canvas.line(tx(e[2]), ty(e[3]), tx(e[4]), ty(e[5]), rgb)
        else:
            canvas.arc(tx(e[2]), ty(e[3]), e[4] * k, e[5], e[6], rgb)
    if own:
        canvas.save(out)


def render_parts(paths, out, size=300, columns=4):
    rows = (len(paths) + columns - 1) // columns
    canvas = Canvas(size * min(columns, len(paths)), size * rows)
    for i, path in enumerate(paths):
        render_part(path, None, size, canvas, (i % columns) * size, (i // columns) * size)
    canvas.save(out)


def render_sheet(path, out):
    lines = read_lines(path)
    s = float(lines[0].split(",")[1]) * 0.195
    canvas = Canvas(500, 210)
    for line in lines[1:]:
        f = [float(v) for v in line.split(",")]
        if int(f[0]) == 1:
            canvas.line(int(230 + f[3] * s), int(11 + f[4] * s), int(230 + f[5] * s),
                        int(11 + f[6] * s), (0, 0, 0))
        else:
            canvas.arc(int(230 + f[3] * s), int(11 + f[4] * s), f[5] * s, f[6], f[7], (0, 0, 0))
    canvas.save(out)


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "parts":
        render_parts(sys.argv[3:], sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] in ("part", "sheet"):
        (render_part if sys.argv[1] == "part" else render_sheet)(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
