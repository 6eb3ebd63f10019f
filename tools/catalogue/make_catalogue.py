#!/usr/bin/env python3
"""Generates the pipe part catalogue: the category, layer, sheet and size
files of the info folder and every part file, as a tree that mirrors the
installation root (info/..., TS/..., DV/...).

    python3 make_catalogue.py --out BUILD/catalogue

The tree is written into a temporary folder beside --out and renamed into
place only when complete, so a failed run never leaves half a catalogue.
Output is deterministic: the same definitions give the same bytes.

Text files are CP932 with CR LF line ends.  Formats:
- TugiteName.ini: one category name per line.
- TugiteSet.ini: per category "layer-type-colour" for solid, hidden and
  centre-line elements, comma-separated.
- SheetName.ini: "<category+1>-<classification>:<sheet>:<code of cell 1>:...:<code of cell 20>".
- BuzaiName.ini: "<category+1>-<classification>:<title>:<name of cell 1>:...".
- BuzaiSize.ini: "<category+1>-<classification>:<main sizes>:<branch sizes>", each
  list the nominal sizes, comma-separated in table order, in which the
  classification has at least one part: the sizes the menu offers.
- Gaikei_*.ini: "<nominal size>,<outside diameter>,<remark>".
- DokanKei.ini (copper), EnbiKei.ini (PVC), KokanKei.ini (steel),
  MaruDakutoKei.ini (spiral duct): one outside diameter in mm per line, in
  increasing order, from the same rows as the Gaikei tables.
- Sheets (*.tec): header "0,<scale>", then "1,<class>,0,x1,y1,x2,y2" and
  "2,<class>,0,cx,cy,r,a0,a1" in sheet units (y downward, 5 x 4 cells of
  49/0.195 x 45/0.195 units).
- Part files (*.ajc): header "0,<scale>,<right>,<bottom>,<left>,<top>" (extents
  from the origin, mm), then "1,<class>,0,x1,-2*y1,3*x2,-4*y2" and
  "2,<class>,0,cx,-cy,r,a0,a1" (mm, y up, angles counter-clockwise).
"""

import argparse
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import fittings  # noqa: E402
from definitions import CATEGORIES, REDUCING_STEPS  # noqa: E402
from geometry import SOLID, Arc, Line  # noqa: E402
from sizes import DIAMETER_LISTS, TABLE_BY_MATERIAL, TABLES, size_code  # noqa: E402

DIGIT_LETTERS = "PSTLNQMKZU"  # 0..9 in part file names
CELL_W = 49 / 0.195
CELL_H = 45 / 0.195
SYMBOL_BOX = (180.0, 160.0)


def fmt(v):
    """A number as short decimal text: at most 4 decimals, no trailing zeros."""
    text = "%.4f" % v
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def encode_lines(lines):
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def digits_to_letters(digits):
    return "".join(DIGIT_LETTERS[int(ch)] for ch in digits)


def part_code_file(code):
    """L10A -> L1001: the first three characters and the number of the letter."""
    return code[:3] + "%02d" % (ord(code[3]) - ord("A") + 1)


def part_file_name(category, classification, code, main, branch):
    digits = (size_code(category.material, main) + size_code(category.material, branch) +
              category.number(classification))
    return category.letter + digits_to_letters(digits) + part_code_file(code) + ".ajc"


def size_pairs(category, cell, nominals):
    """The (main, branch) nominal sizes a cell has parts for: the combinations
    its size rule allows, of sizes in which the part is made."""
    pairs = []
    for i, main in enumerate(nominals):
        if cell.sizes in ("equal", "branching"):
            pairs.append((main, main))
        if cell.sizes in ("branching", "reducing"):
            for j in range(i - 1, max(-1, i - 1 - REDUCING_STEPS), -1):
                pairs.append((main, nominals[j]))
    return [(m, b) for m, b in pairs
            if fittings.made(cell.kind, category.joint, _nominal_number(m), _nominal_number(b),
                             **cell.params)]


def _nominal_number(text):
    try:
        return int(text)
    except ValueError:
        return None


def draw_part(category, cell, main, branch):
    table = TABLE_BY_MATERIAL[category.material]
    params = dict(cell.params)
    if cell.kind == "flex" and params.get("length") is None:
        d = table.outside(main)
        kind = params.get("kind")
        params["length"] = {"sphere": 0.8 * d + 110, "sphere2": 1.5 * d + 170,
                            "sleeve": 1.6 * d + 300, "sleeve2": 2.4 * d + 450}[kind]
    return fittings.draw(cell.kind, category.joint, table.outside(main), table.outside(branch),
                         _nominal_number(main), _nominal_number(branch), **params)


def extents(shape):
    """(right, bottom, left, top) from the origin, as absolute values."""
    b = shape.bounds()
    return (max(0.0, b[2]), max(0.0, -b[1]), max(0.0, -b[0]), max(0.0, b[3]))


def part_lines(shape):
    right, bottom, left, top = extents(shape)
    lines = ["0,1,%s,%s,%s,%s" % (fmt(right), fmt(bottom), fmt(left), fmt(top))]
    for e in shape.elements:
        if isinstance(e, Line):
            lines.append("1,%d,0,%s,%s,%s,%s" % (e.cls, fmt(e.x1), fmt(-2 * e.y1), fmt(3 * e.x2),
                                                 fmt(-4 * e.y2)))
        else:
            lines.append("2,%d,0,%s,%s,%s,%s,%s" % (e.cls, fmt(e.cx), fmt(-e.cy), fmt(e.r),
                                                    fmt(e.a0), fmt(e.a1)))
    return lines


# -- sheets -----------------------------------------------------------------
def grid_lines():
    """The 5 x 4 cell grid; each boundary lands on the menu's boundary pixel."""
    xs = [(49 * c + 0.1) / 0.195 for c in range(6)]
    ys = [(45 * r + 0.1) / 0.195 for r in range(5)]
    lines = []
    for x in xs:
        lines.append("1,1,0,%s,%s,%s,%s" % (fmt(x), fmt(ys[0]), fmt(x), fmt(ys[-1])))
    for y in ys:
        lines.append("1,1,0,%s,%s,%s,%s" % (fmt(xs[0]), fmt(y), fmt(xs[-1]), fmt(y)))
    return lines


def symbol_lines(shape, index):
    """The solid outline of a part scaled into cell `index` (0-based) of a sheet."""
    solid = shape.only({SOLID})
    b = solid.bounds()
    w, h = max(b[2] - b[0], 1e-6), max(b[3] - b[1], 1e-6)
    k = min(SYMBOL_BOX[0] / w, SYMBOL_BOX[1] / h)
    mx, my = (b[0] + b[2]) / 2, (b[1] + b[3]) / 2
    row, col = divmod(index, 5)
    cx, cy = (col + 0.5) * CELL_W, (row + 0.5) * CELL_H

    def to_sheet(x, y):
        return cx + (x - mx) * k, cy - (y - my) * k

    lines = []
    for e in solid.elements:
        if isinstance(e, Line):
            p, q = to_sheet(e.x1, e.y1), to_sheet(e.x2, e.y2)
            lines.append("1,1,0,%s,%s,%s,%s" % (fmt(p[0]), fmt(p[1]), fmt(q[0]), fmt(q[1])))
        elif isinstance(e, Arc):
            c = to_sheet(e.cx, e.cy)
            lines.append("2,1,0,%s,%s,%s,%s,%s" % (fmt(c[0]), fmt(c[1]), fmt(e.r * k), fmt(e.a0),
                                                   fmt(e.a1)))
    return lines


def symbol_sizes(category, cell, nominals):
    """The sizes a cell's picture on the sheet is drawn in: a middle one of
    the sizes the part is made in."""
    pairs = size_pairs(category, cell, nominals)
    if cell.sizes != "reducing":
        pairs = [(m, b) for m, b in pairs if m == b]
    mains = sorted({m for m, _ in pairs}, key=nominals.index)
    main = mains[len(mains) // 2]
    return [(m, b) for m, b in pairs if m == main][0]


# -- the whole tree ------------------------------------------------------------
class Catalogue:
    def __init__(self):
        self.files = {}  # relative path -> bytes

    def build(self):
        self._lower = set()
        info = "info"
        self.files[info + "/TugiteName.ini"] = encode_lines([c.name for c in CATEGORIES])
        self.files[info + "/TugiteSet.ini"] = encode_lines([c.attributes() for c in CATEGORIES])
        for table in TABLES:
            self.files[info + "/" + table.file_name] = encode_lines(
                ["%s,%s,%s" % (n, fmt(od), remark) for n, od, remark in table.rows])
        for name, material in DIAMETER_LISTS:
            self.files[info + "/" + name] = encode_lines(
                [fmt(od) for _, od, _ in TABLE_BY_MATERIAL[material].rows])
        self.files[info + "/waku.tec"] = encode_lines(["0,1"] + grid_lines())
        sheet_lines, name_lines, size_lines = [], [], []
        sheets = {}
        for cat in CATEGORIES:
            nominals = TABLE_BY_MATERIAL[cat.material].nominals()
            for k in sorted(cat.layouts):
                layout = cat.layouts[k]
                key = "%d-%d" % (cat.index + 1, k)
                sheet = "%sSheet%d" % (cat.prefix, k)
                codes = [c.code if c else "" for c in layout.cells]
                names = [c.name if c else "" for c in layout.cells]
                sheet_lines.append(":".join([key, sheet] + codes))
                name_lines.append(":".join([key, cat.name + " " + layout.caption] + names))
                if sheet not in sheets:
                    body = ["0,1"] + grid_lines()
                    for index, cell in enumerate(layout.cells):
                        if cell:
                            main, branch = symbol_sizes(cat, cell, nominals)
                            body += symbol_lines(draw_part(cat, cell, main, branch), index)
                    sheets[sheet] = body
                mains, branches = set(), set()
                for cell in layout.cells:
                    if cell is None:
                        continue
                    for main, branch in size_pairs(cat, cell, nominals):
                        mains.add(main)
                        branches.add(branch)
                        name = part_file_name(cat, k, cell.code, main, branch)
                        path = cat.folder + "/" + name
                        if path.lower() in self._lower:
                            raise RuntimeError("two parts would share the file " + path)
                        self._lower.add(path.lower())
                        self.files[path] = encode_lines(part_lines(draw_part(cat, cell, main,
                                                                              branch)))
                size_lines.append(":".join([
                    key, ",".join(n for n in nominals if n in mains),
                    ",".join(n for n in nominals if n in branches)]))
        for sheet, body in sheets.items():
            self.files[info + "/" + sheet + ".tec"] = encode_lines(body)
        self.files[info + "/SheetName.ini"] = encode_lines(sheet_lines)
        self.files[info + "/BuzaiName.ini"] = encode_lines(name_lines)
        self.files[info + "/BuzaiSize.ini"] = encode_lines(size_lines)
        return self


def write_tree(files, out):
    out = os.path.abspath(out)
    parent = os.path.dirname(out)
    os.makedirs(parent, exist_ok=True)
    tmp = "%s.tmp-%d" % (out, os.getpid())
    old = "%s.old-%d" % (out, os.getpid())
    shutil.rmtree(tmp, ignore_errors=True)
    try:
        for rel in sorted(files):
            path = os.path.join(tmp, *rel.split("/"))
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as f:
                f.write(files[rel])
        if os.path.exists(out):
            os.rename(out, old)
        os.rename(tmp, out)
    except BaseException:
        shutil.rmtree(tmp, ignore_errors=True)
        raise
    shutil.rmtree(old, ignore_errors=True)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", required=True, help="folder to write the catalogue tree into")
    args = parser.parse_args(argv)
    catalogue = Catalogue().build()
    write_tree(catalogue.files, args.out)
    parts = sum(1 for p in catalogue.files if p.endswith(".ajc"))
    print("catalogue: %d part files, %d files in all, in %s" % (parts, len(catalogue.files),
                                                                  args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
