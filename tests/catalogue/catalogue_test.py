#!/usr/bin/env python3
"""Reads the generated pipe part catalogue back the way the part menu does
and checks that it is complete and consistent.

The catalogue is regenerated into a temporary folder.  The part menu's own
tables (category letters, sheet prefixes, folders, numbers, size codes) are
written out here independently, so a slip in the generator's copy shows.
When the build's catalogue (BUILD/catalogue) and tavelin-cli exist, the test
also checks that the build's copy is current and that `init` installs it.
"""

import atexit
import math
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))
TOOL_DIR = os.path.join(SOURCE, "tools", "catalogue")
TOOL = os.path.join(TOOL_DIR, "make_catalogue.py")
DATA_INFO = os.environ.get("TAVELIN_SOURCE_DATA_DIR", os.path.join(SOURCE, "data")) + "/info"

# The part menu's category table: material class, letter, sheet prefix,
# folder, number (category 20: 05 for classification 4), and the number of
# classifications that have a caption.
CATEGORIES = [
    (2, "E", "TS_", "TS", "13", 3), (2, "E", "DV_", "DV", "14", 4),
    (1, "K", "MD_", "MD1", "09", 4), (1, "K", "MD_", "MD2", "10", 4),
    (1, "K", "DR_", "DR", "07", 4), (1, "K", "YO_", "YT", "02", 5),
    (1, "K", "NE_", "NJ", "01", 4), (3, "D", "DO_", "DK", "17", 3),
    (1, "K", "KO_", "KT", "03", 2), (5, "S", "NI_", "ST", "21", 3),
    (5, "S", "MO_", "MO", "20", 5), (1, "K", "FK_", "FT", "06", 2),
    (4, "T", "C1_", "CK", "11", 6), (4, "T", "C2_", "CK", "11", 6),
    (4, "T", "C1_", "CS", "12", 6), (4, "T", "C2_", "CS", "12", 6),
    (1, "K", "BC_", "SDB", "22", 4), (1, "K", "FC_", "CB", "22", 3),
    (1, "K", "BF_", "BB", "22", 3), (1, "K", "CL_", "SB", "22", 4),
    (1, "K", "FJ_", "FS", "24", 4), (0, "M", "SD_", "MDK", "25", 4),
]
GAIKEI = ["Gaikei_Maru.ini", "Gaikei_Koukan.ini", "Gaikei_Enbi.ini", "Gaikei_Doukan.ini",
          "Gaikei_cip.ini", "Gaikei_sus.ini"]
CODES = [
    "100 01 125 02 150 03 175 04 200 05 225 06 250 07 275 08 300 09 325 10 350 11 375 12 400 13 "
    "450 14 500 15",
    "10 02 15 03 20 05 25 06 32 07 40 08 50 09 65 10 80 11 100 12 125 13 150 14 200 15 250 16 "
    "300 17 350 18 400 19 450 20 500 21 550 22 600 23",
    "13 03 16 04 20 05 25 06 30 07 40 08 50 09 65 10 75 11 100 12 125 13 150 14 200 15 250 16 "
    "300 17 350 18 400 19",
    "8 01 10 02 15 03 18 04 20 05 25 06 32 07 40 08 50 09 65 10 80 11 100 12 125 13 150 14",
    "40 08 50 09 65 10 75 11 100 12 125 13 150 14 200 15 250 16 300 17",
    "13 03 20 05 25 06 30 07 40 08 50 09 60 10",
]
SIZE_CODES = [dict(zip(t.split()[0::2], t.split()[1::2])) for t in CODES]
LETTERS = "PSTLNQMKZU"
CELL_X = [230 + 49 * c for c in range(6)]
CELL_Y = [11 + 45 * r for r in range(5)]


def number(category, classification):
    if category == 20 and classification == 4:
        return "05"
    return CATEGORIES[category][4]


def part_name(category, classification, code, main, branch):
    material, letter = CATEGORIES[category][0], CATEGORIES[category][1]
    digits = (SIZE_CODES[material].get(main, "") + SIZE_CODES[material].get(branch, "") +
              number(category, classification))
    return (letter + "".join(LETTERS[int(d)] for d in digits) + code[:3] +
            "%02d" % (ord(code[3]) - 64) + ".ajc")


STEEL_OVER_150A = {"200", "250", "300", "350", "400", "450", "500", "550", "600"}


def not_made(category, classification, name):
    """The main sizes in which a part is not made: threaded fittings and
    threaded valve ends above 150A (pipe threads end at R 6), butt-welding
    fittings below 15A, short elbows below 25A and reducers from 15A."""
    threaded = (category in (4, 6, 8, 16) or (category == 19 and ("ねじ込み" in name or
                                                                  name == "安全弁")) or
                (category == 20 and classification == 1))
    if threaded:
        return STEEL_OVER_150A
    if category == 5 and classification in (1, 2, 3):
        if classification == 2:
            return {"10", "15", "20"}
        if "レジューサー" in name:
            return {"10", "15"}
        return {"10"}
    return set()


_FRESH = []


def fresh_tree():
    """A catalogue generated once for the whole run (removed at exit)."""
    if not _FRESH:
        tmp = tempfile.mkdtemp(prefix="catalogue_test_")
        atexit.register(shutil.rmtree, tmp, True)
        generate(os.path.join(tmp, "catalogue"))
        _FRESH.append(os.path.join(tmp, "catalogue"))
    return _FRESH[0]


def generate(out):
    result = subprocess.run([sys.executable, TOOL, "--out", out], capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError("the generator failed:\n" + result.stdout + result.stderr)


def read_text(path):
    """Lines of a CP932 file with CR LF line ends; fails on anything else."""
    with open(path, "rb") as f:
        data = f.read()
    text = data.decode("cp932")
    assert text.endswith("\r\n"), "%s does not end with CR LF" % path
    lines = text.split("\r\n")[:-1]
    for line in lines:
        assert "\r" not in line and "\n" not in line, "%s has a bare line end" % path
    return lines


def arc_bounds(cx, cy, r, a0, a1):
    sweep = (a1 - a0) % 360.0 or 360.0
    angles = [a0, a0 + sweep] + [a for a in (0, 90, 180, 270, 360, 450, 540, 630)
                                 if a0 < a < a0 + sweep]
    xs = [cx + r * math.cos(math.radians(a)) for a in angles]
    ys = [cy + r * math.sin(math.radians(a)) for a in angles]
    return min(xs), min(ys), max(xs), max(ys)


def read_part(path):
    """(scale, extents, elements) of a part file as the menu reads it; the
    elements in real coordinates: ('line', cls, x1, y1, x2, y2) and
    ('arc', cls, cx, cy, r, a0, a1)."""
    lines = read_text(path)
    head = lines[0].split(",")
    assert len(head) == 6, "%s: header %r" % (path, lines[0])
    scale = float(head[1])
    extents = [abs(float(v)) for v in head[2:6]]
    elements = []
    for line in lines[1:]:
        f = line.split(",")
        kind, cls = int(f[0]), int(f[1])
        assert cls in (1, 2, 5), "%s: line class %d" % (path, cls)
        assert f[2] == "0"
        v = [float(x) for x in f[3:]]
        if kind == 1:
            assert len(f) == 7, "%s: %r" % (path, line)
            elements.append(("line", cls, v[0], v[1] * -0.5, v[2] / 3, v[3] * -0.25))
        else:
            assert kind == 2 and len(f) == 8, "%s: %r" % (path, line)
            elements.append(("arc", cls, v[0], -v[1], v[2], v[3], v[4]))
    return scale, extents, elements


class Catalogue(unittest.TestCase):
    tree = None

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="catalogue_work_")
        cls.tree = fresh_tree()
        cls.info = os.path.join(cls.tree, "info")
        cls.sheet_lines = read_text(os.path.join(cls.info, "SheetName.ini"))
        cls.sheets = {line.split(":")[0]: line.split(":") for line in cls.sheet_lines}
        cls.names = {line.split(":")[0]: line.split(":")
                     for line in read_text(os.path.join(cls.info, "BuzaiName.ini"))}
        cls.sizes = []
        for name in GAIKEI:
            cls.sizes.append([line.split(",") for line in read_text(os.path.join(cls.info, name))])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def nominals(self, category):
        return [row[0] for row in self.sizes[CATEGORIES[category][0]]]

    def outside(self, category, nominal):
        for row in self.sizes[CATEGORIES[category][0]]:
            if row[0] == nominal:
                return float(row[1])
        raise KeyError(nominal)

    # -- info folder files --------------------------------------------------
    def test_category_names_and_attributes(self):
        names = read_text(os.path.join(self.info, "TugiteName.ini"))
        self.assertEqual(len(names), 22)
        self.assertEqual(len(set(names)), 22, "category names repeat")
        for name in names:
            self.assertTrue(name.strip(), "an empty category name")
            self.assertNotIn(":", name)
        line_types = read_text(os.path.join(DATA_INFO, "SenSyu.ini"))
        attrs = read_text(os.path.join(self.info, "TugiteSet.ini"))
        self.assertEqual(len(attrs), 22)
        for c, line in enumerate(attrs):
            groups = line.split(",")
            self.assertEqual(len(groups), 3, "category %d: %r" % (c, line))
            expected_types = ["CONTINUOUS", "HIDDEN", "CENTER"]
            for g, group in enumerate(groups):
                fields = group.split("-")
                self.assertEqual(len(fields), 3, "category %d: %r" % (c, group))
                layer, line_type, colour = fields[0], int(fields[1]), int(fields[2])
                self.assertTrue(layer)
                for bad in "-.,":
                    self.assertNotIn(bad, layer)
                self.assertTrue(1 <= line_type <= 11 and 1 <= colour <= 255, group)
                self.assertEqual(line_types[line_type - 1], expected_types[g],
                                 "category %d group %d has the wrong line type" % (c, g))

    def test_size_tables_have_codes_and_increase(self):
        for material, rows in enumerate(self.sizes):
            self.assertTrue(0 < len(rows) <= 70, GAIKEI[material])
            previous = 0.0
            for row in rows:
                nominal, od = row[0], float(row[1])
                self.assertIn(nominal, SIZE_CODES[material],
                              "%s lists %s, which has no size code" % (GAIKEI[material], nominal))
                self.assertGreater(od, previous, "%s is not in increasing order" % GAIKEI[material])
                self.assertTrue(0.9 * float(nominal) <= od <= 1.8 * float(nominal) + 5,
                                "%s: %s mm for size %s" % (GAIKEI[material], od, nominal))
                previous = od
            self.assertEqual(len({r[0] for r in rows}), len(rows), "a size repeats")

    def test_sheet_and_name_lines(self):
        names = {line.split(":")[0]: line.split(":")
                 for line in read_text(os.path.join(self.info, "BuzaiName.ini"))}
        expected_keys = ["%d-%d" % (c + 1, k) for c, cat in enumerate(CATEGORIES)
                         for k in range(1, cat[5] + 1)]
        self.assertEqual(sorted(self.sheets), sorted(expected_keys))
        self.assertEqual(len(self.sheet_lines), len(expected_keys), "a key repeats")
        self.assertEqual(sorted(names), sorted(expected_keys))
        for key in expected_keys:
            fields, labels = self.sheets[key], names[key]
            # Key, sheet field and all 20 cells, so that an empty cell stays empty.
            self.assertEqual(len(fields), 22, key)
            self.assertEqual(len(labels), 22, key)
            codes = fields[2:]
            self.assertTrue(any(codes), "%s has no parts" % key)
            for code, label in zip(codes, labels[2:]):
                self.assertEqual(bool(code), bool(label), "%s: code %r named %r" % (key, code,
                                                                                   label))
                if code:
                    self.assertEqual(len(code), 4, key)
                    self.assertTrue(code[3].isupper() and code[3].isalpha(), code)
            real = [c for c in codes if c]
            self.assertEqual(len(real), len(set(real)), "%s repeats a code" % key)

    def test_sheets_share_pictures_only_with_the_same_cells(self):
        by_sheet = {}
        for c, cat in enumerate(CATEGORIES):
            for k in range(1, cat[5] + 1):
                populated = [bool(x) for x in self.sheets["%d-%d" % (c + 1, k)][2:]]
                by_sheet.setdefault(cat[2] + str(k), []).append((c, populated))
        for sheet, users in by_sheet.items():
            for c, populated in users[1:]:
                self.assertEqual(populated, users[0][1],
                                 "%s shows other cells for category %d" % (sheet, c))

    def test_sheets_draw_the_grid_and_a_symbol_in_each_populated_cell(self):
        waku = self.sheet_pixels("waku.tec")
        self.assertTrue(waku and all(self.cell_of(p) is None for p in waku),
                        "the empty frame draws inside a cell")
        for c, cat in enumerate(CATEGORIES):
            for k in range(1, cat[5] + 1):
                pixels = self.sheet_pixels("%sSheet%d.tec" % (cat[2], k))
                for x in CELL_X:
                    self.assertIn((x, CELL_Y[0]), pixels)
                    self.assertIn((x, CELL_Y[-1]), pixels)
                for y in CELL_Y:
                    self.assertIn((CELL_X[0], y), pixels)
                    self.assertIn((CELL_X[-1], y), pixels)
                cells = {self.cell_of(p) for p in pixels} - {None}
                codes = self.sheets["%d-%d" % (c + 1, k)][2:]
                self.assertEqual(cells, {i + 1 for i, code in enumerate(codes) if code},
                                 "%sSheet%d" % (cat[2], k))

    def sheet_pixels(self, name):
        """The menu's pixels of every element end point and arc point."""
        lines = read_text(os.path.join(self.info, name))
        s = float(lines[0].split(",")[1]) * 0.195
        pixels = set()
        for line in lines[1:]:
            f = [float(v) for v in line.split(",")]
            if int(f[0]) == 1:
                pixels.add((int(230 + f[3] * s), int(11 + f[4] * s)))
                pixels.add((int(230 + f[5] * s), int(11 + f[6] * s)))
            else:
                cx, cy, r = int(230 + f[3] * s), int(11 + f[4] * s), f[5] * s
                sweep = (f[7] - f[6]) % 360.0 or 360.0
                for i in range(9):
                    a = math.radians(f[6] + sweep * i / 8)
                    pixels.add((int(cx + r * math.cos(a)), int(cy - r * math.sin(a))))
        return pixels

    @staticmethod
    def cell_of(p):
        """The menu's cell hit by a click at pixel p; None on a boundary or outside."""
        col = [i for i in range(5) if CELL_X[i] < p[0] < CELL_X[i + 1]]
        row = [i for i in range(4) if CELL_Y[i] < p[1] < CELL_Y[i + 1]]
        return row[0] * 5 + col[0] + 1 if col and row else None

    # -- part files ---------------------------------------------------------
    def test_every_cell_has_its_parts_and_no_part_is_orphaned(self):
        self.expected_parts()

    def expected_parts(self):
        """Checks that each cell has a part for each of its sizes and that every
        part file belongs to a cell; returns {path: (category, main, branch, cell)}."""
        if getattr(self.__class__, "parts", None):
            return self.__class__.parts
        expected = {}
        for c, cat in enumerate(CATEGORIES):
            folder = os.path.join(self.tree, cat[3])
            present = set(os.listdir(folder))
            nominals = self.nominals(c)
            for k in range(1, cat[5] + 1):
                cells = zip(self.sheets["%d-%d" % (c + 1, k)][2:], self.names["%d-%d" % (c + 1, k)][2:])
                for code, label in [(code, label) for code, label in cells if code]:
                    equal = [part_name(c, k, code, n, n) for n in nominals]
                    where = "category %d classification %d code %s" % (c, k, code)
                    absent = not_made(c, k, label)
                    made = [n for n in nominals if n not in absent]
                    if any(name in present for name in equal):
                        have = [n for n, name in zip(nominals, equal) if name in present]
                        self.assertEqual(have, made, where + ": the sizes with a part")
                    else:
                        # A reducer: each size made (but the smallest of the table)
                        # reduces to a smaller one.
                        for main in [n for n in made if n != nominals[0]]:
                            found = [b for b in nominals[:nominals.index(main)]
                                     if part_name(c, k, code, main, b) in present]
                            self.assertTrue(found, where + ": nothing reduces from " + main)
                        for main in absent:
                            self.assertFalse([b for b in nominals
                                              if part_name(c, k, code, main, b) in present],
                                             where + ": a reducer from " + main)
                    for i, main in enumerate(nominals):
                        for branch in nominals[:i + 1]:
                            name = part_name(c, k, code, main, branch)
                            if name in present:
                                expected[os.path.join(folder, name)] = (c, main, branch, where)
        on_disk = set()
        for folder in {cat[3] for cat in CATEGORIES}:
            for name in os.listdir(os.path.join(self.tree, folder)):
                on_disk.add(os.path.join(self.tree, folder, name))
        self.assertEqual(sorted(on_disk - set(expected)), [], "part files no cell reaches")
        self.__class__.parts = expected
        return expected

    def test_part_files_parse_and_their_extents_match_their_drawing(self):
        growth = {}
        for path, (c, main, branch, where) in sorted(self.expected_parts().items()):
            scale, (right, bottom, left, top), elements = read_part(path)
            self.assertEqual(scale, 1.0, path)
            self.assertTrue(any(e[1] == 1 for e in elements), path + " has no solid outline")
            boxes = []
            for e in elements:
                if e[0] == "line":
                    self.assertGreater(math.hypot(e[4] - e[2], e[5] - e[3]), 1e-3, path)
                    boxes.append((min(e[2], e[4]), min(e[3], e[5]), max(e[2], e[4]),
                                  max(e[3], e[5])))
                else:
                    self.assertGreater(e[4], 0.0, path)
                    self.assertNotEqual(e[5], e[6], path + ": an arc that would become a circle")
                    boxes.append(arc_bounds(*e[2:]))
            box = (min(b[0] for b in boxes), min(b[1] for b in boxes), max(b[2] for b in boxes),
                   max(b[3] for b in boxes))
            drawn = (max(0.0, box[2]), max(0.0, -box[1]), max(0.0, -box[0]), max(0.0, box[3]))
            for got, want, side in zip((right, bottom, left, top), drawn,
                                       ("right", "bottom", "left", "top")):
                self.assertAlmostEqual(got, want, delta=0.01, msg="%s: %s extent" % (path, side))
            # Drawn at real size: across its run (the x axis) the part is at
            # least as wide as its main pipe.
            od = self.outside(c, main)
            self.assertGreaterEqual(top + bottom, 0.99 * od - 0.01,
                                    "%s is narrower than its %s mm pipe" % (path, od))
            if main == branch:
                growth.setdefault(where, []).append((od, right + left + top + bottom))
        for where, sizes in growth.items():
            spans = [span for od, span in sorted(sizes)]
            self.assertEqual(spans, sorted(spans), where + ": a bigger size draws smaller")
            self.assertLess(spans[0], spans[-1], where + ": every size draws the same")

    def test_part_names_in_the_menu_example_exist(self):
        # Category 0, 50 / 50, the first elbow: TS/EPUPUSLL1001.ajc.
        self.assertEqual(self.sheets["1-1"][2], "L10A")
        self.assertTrue(os.path.isfile(os.path.join(self.tree, "TS", "EPUPUSLL1001.ajc")))
        # Category 20 numbers its expansion joints 05, the other parts 24.
        code = self.sheets["21-4"][2]
        self.assertTrue(os.path.isfile(os.path.join(
            self.tree, "FS", part_name(20, 4, code, "50", "50"))))
        self.assertIn("PUPUPQ", part_name(20, 4, code, "50", "50"))

    # -- generation ---------------------------------------------------------
    def test_generation_is_deterministic(self):
        again = os.path.join(self.tmp, "again")
        generate(again)
        self.assertEqual(tree_bytes(again), tree_bytes(self.tree))

    def test_a_failed_run_keeps_the_previous_catalogue(self):
        sys.path.insert(0, TOOL_DIR)
        try:
            import make_catalogue
        finally:
            sys.path.remove(TOOL_DIR)
        out = os.path.join(self.tmp, "failing", "catalogue")
        make_catalogue.write_tree({"info/A.ini": b"old\r\n"}, out)
        # A file where a folder must go makes the second write fail half-way.
        with self.assertRaises(OSError):
            make_catalogue.write_tree({"info/A.ini": b"new\r\n", "info/A.ini/B": b"x"}, out)
        with open(os.path.join(out, "info", "A.ini"), "rb") as f:
            self.assertEqual(f.read(), b"old\r\n")
        self.assertEqual(os.listdir(os.path.dirname(out)), ["catalogue"], "leftovers")
        make_catalogue.write_tree({"info/B.ini": b"b\r\n"}, out)
        self.assertEqual(tree_bytes(out), {"info/B.ini": b"b\r\n"}, "the old tree stays")


class StandardFigures(unittest.TestCase):
    """Figures copied from the standards' published tables (not from the
    generator's tables): a wrong size table or fitting length fails here."""

    # Outside diameters, mm, and the remark each size must carry (None: any).
    OUTSIDE = {
        "Gaikei_Koukan.ini": [  # JIS G 3452 SGP; 550A and 600A from JIS G 3457 STPY 400
            ("15", 21.7, None), ("50", 60.5, None), ("100", 114.3, None), ("500", 508.0, None),
            ("550", 558.8, "STPY400"), ("600", 609.6, "STPY400")],
        "Gaikei_Enbi.ini": [  # JIS K 6741: VP to 300, VU above
            ("13", 18.0, "VP13"), ("50", 60.0, "VP50"), ("100", 114.0, "VP100"),
            ("300", 318.0, "VP300"), ("350", 370.0, "VU350"), ("400", 420.0, "VU400")],
        "Gaikei_Doukan.ini": [  # JIS H 3300 building copper tube
            ("15", 15.88, None), ("20", 22.22, None), ("50", 53.98, None), ("100", 104.78, None)],
        "Gaikei_sus.ini": [  # JIS G 3448
            ("13", 15.88, None), ("20", 22.22, None), ("50", 48.6, None), ("60", 60.5, None)],
        "Gaikei_Maru.ini": [  # spiral duct: inside diameter + 2 x sheet (0.5 to 450, then 0.6)
            ("100", 101.0, None), ("450", 451.0, None), ("500", 501.2, None)],
    }

    @classmethod
    def setUpClass(cls):
        cls.tree = fresh_tree()
        cls.info = os.path.join(cls.tree, "info")
        cls.sheets = {line.split(":")[0]: line.split(":")
                      for line in read_text(os.path.join(cls.info, "SheetName.ini"))}
        cls.names = {line.split(":")[0]: line.split(":")
                     for line in read_text(os.path.join(cls.info, "BuzaiName.ini"))}

    def table(self, name):
        return {row.split(",")[0]: row.split(",") for row in
                read_text(os.path.join(self.info, name))}

    def test_outside_diameters_and_labels(self):
        for name, figures in self.OUTSIDE.items():
            rows = self.table(name)
            for nominal, od, label in figures:
                self.assertAlmostEqual(float(rows[nominal][1]), od, places=2,
                                       msg="%s %s" % (name, nominal))
                if label:
                    self.assertIn(label, rows[nominal][2], "%s %s" % (name, nominal))
        self.assertNotIn("VP350", open(os.path.join(self.info, "Gaikei_Enbi.ini"),
                                       encoding="cp932").read())

    def test_diameter_lists_hold_the_outside_diameters(self):
        lists = {"KokanKei.ini": (21, ["17.3", "21.7", "27.2"], ["114.3", "558.8", "609.6"]),
                 "EnbiKei.ini": (17, ["18", "22", "26"], ["60", "370", "420"]),
                 "DokanKei.ini": (14, ["9.52", "12.7", "15.88"], ["22.22", "104.78"]),
                 "MaruDakutoKei.ini": (15, ["101", "126", "151"], ["451", "501.2"])}
        for name, (count, first, some) in lists.items():
            lines = read_text(os.path.join(self.info, name))
            self.assertEqual(len(lines), count, name)
            self.assertEqual(lines[:3], first, name)
            for value in some:
                self.assertIn(value, lines, name)
            numbers = [float(v) for v in lines]
            self.assertEqual(numbers, sorted(set(numbers)), name + " is not increasing")

    def part(self, category, name, main, branch=None):
        """(extents, elements) of the named part of a category in a size."""
        for key, labels in self.names.items():
            if key.split("-")[0] == str(category + 1) and name in labels[2:]:
                k = int(key.split("-")[1])
                code = self.sheets[key][labels.index(name)]
                path = os.path.join(self.tree, CATEGORIES[category][3],
                                    part_name(category, k, code, main, branch or main))
                _, extents, elements = read_part(path)
                return extents, elements
        raise KeyError(name)

    def test_butt_welding_fittings(self):
        # JIS B 2311: elbow centre to face F (long 1.5, short 1.0 x nominal), 45 degree
        # elbow H, tee C, reducer end to end H, cap E; pipe outside diameters of SGP.
        cases = [
            ("90°ロングエルボ", "15", None, {"left": 38.1, "top": 38.1, "right": 21.7 / 2}),
            ("90°ロングエルボ", "50", None, {"left": 76.2, "top": 76.2}),
            ("90°ロングエルボ", "100", None, {"left": 152.4, "top": 152.4, "right": 57.15,
                                            "bottom": 57.15}),
            ("90°ショートエルボ", "25", None, {"left": 25.4, "top": 25.4}),
            ("90°ショートエルボ", "100", None, {"left": 101.6, "top": 101.6}),
            ("90°ショートエルボ", "200", None, {"left": 203.2, "top": 203.2}),
            ("45°ロングエルボ", "100", None, {"left": 63.5}),
            ("45°ロングエルボ", "200", None, {"left": 127.0}),
            ("ティー(レジューシング)", "50", None, {"left": 63.5, "right": 63.5, "top": 63.5}),
            ("ティー(レジューシング)", "100", None, {"left": 104.8, "right": 104.8,
                                                  "top": 104.8}),
            ("ティー(レジューシング)", "200", "150", {"left": 177.8, "right": 177.8}),
            ("同心レジューサー", "50", "40", {"left": 76.2 / 2, "right": 76.2 / 2}),
            ("同心レジューサー", "100", "80", {"left": 101.6 / 2, "right": 101.6 / 2}),
            ("同心レジューサー", "200", "150", {"left": 152.4 / 2, "right": 152.4 / 2}),
            ("キャップ", "50", None, {"right": 38.1, "left": 0.0}),
            ("キャップ", "100", None, {"right": 63.5, "left": 0.0}),
            ("キャップ", "300", None, {"right": 152.4, "left": 0.0}),
        ]
        for name, main, branch, want in cases:
            (right, bottom, left, top), _ = self.part(5, name, main, branch)
            got = {"right": right, "bottom": bottom, "left": left, "top": top}
            for side, value in want.items():
                self.assertAlmostEqual(got[side], value, delta=0.06,
                                       msg="%s %s: %s" % (name, main, side))
        # The worked example: the 100A long elbow spans 152.4 + 114.3 / 2 both ways.
        (right, bottom, left, top), _ = self.part(5, "90°ロングエルボ", "100")
        self.assertAlmostEqual(left + right, 209.55, places=2)
        self.assertAlmostEqual(top + bottom, 209.55, places=2)

    def test_flanges(self):
        # JIS B 2220: outside diameter D (and for 10K the thickness t).
        cases = [("10Kフランジ", "50", 155, 16), ("10Kフランジ", "100", 210, 18),
                 ("10Kフランジ", "200", 330, 22), ("5Kフランジ", "50", 130, None),
                 ("5Kフランジ", "100", 200, None), ("5Kフランジ", "150", 265, None),
                 ("20Kフランジ", "50", 155, None), ("20Kフランジ", "100", 225, None),
                 ("20Kフランジ", "150", 305, None)]
        for name, size, od, t in cases:
            (right, bottom, left, top), elements = self.part(5, name, size)
            self.assertAlmostEqual(top + bottom, od, places=3, msg="%s %s" % (name, size))
            if t:
                # The flange faces: solid lines across the whole diameter.
                xs = sorted({round(e[2], 3) for e in elements if e[0] == "line" and
                             e[1] == 1 and e[2] == e[4] and abs(abs(e[5] - e[3]) - od) < 1e-3})
                self.assertEqual(len(xs), 4, "%s %s" % (name, size))
                self.assertAlmostEqual(xs[1] - xs[0], t, places=3, msg="%s %s" % (name, size))

    def test_no_threaded_part_above_150a(self):
        # Threaded fittings and the bronze threaded valves end at 150A.
        for category, name in [(6, "90°エルボ"), (6, "チーズ(異径)"), (4, "90°エルボ"),
                               (8, "90°エルボ"), (16, "青銅仕切弁 10K"), (16, "ボール弁")]:
            self.part(category, name, "150")
            for size in ("200", "300", "600"):
                with self.assertRaises(FileNotFoundError, msg="%d %s %s" % (category, name,
                                                                            size)):
                    self.part(category, name, size)
        # Flanged valves of the same menus are made in the large sizes.
        self.part(17, "鋳鉄仕切弁 10K", "300")
        self.part(19, "減圧弁(フランジ)", "300")


class BuildAndInstall(unittest.TestCase):
    """The build's catalogue is current, and `init` installs it into a root."""

    def setUp(self):
        bin_dir = os.environ.get("TAVELIN_BIN_DIR", "")
        self.built = os.path.join(os.path.dirname(bin_dir), "catalogue") if bin_dir else ""
        self.cli = os.path.join(bin_dir, "tavelin-cli") if bin_dir else ""
        if not os.path.isdir(self.built):
            self.skipTest("the catalogue target has not been built")
        self.tmp = tempfile.mkdtemp(prefix="catalogue_install_")

    def tearDown(self):
        shutil.rmtree(self.tmp, ignore_errors=True)

    def test_build_catalogue_is_current(self):
        self.assertTrue(tree_bytes(self.built) == tree_bytes(fresh_tree()),
                        "BUILD/catalogue is stale: rebuild the 'catalogue' target")

    def test_init_installs_the_catalogue(self):
        if not os.path.isfile(self.cli):
            self.skipTest("tavelin-cli has not been built")
        root = os.path.join(self.tmp, "root")
        result = subprocess.run([self.cli, "--root", root, "init"], capture_output=True,
                                text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        for rel in ("info/TugiteName.ini", "info/SheetName.ini", "info/TS_Sheet1.tec",
                    "info/KokanKei.ini", "info/MaruDakutoKei.ini", "TS/EPUPUSLL1001.ajc"):
            with open(os.path.join(root, *rel.split("/")), "rb") as f, \
                    open(os.path.join(self.built, *rel.split("/")), "rb") as g:
                self.assertEqual(f.read(), g.read(), rel)


    def test_part_menu_finds_a_part_in_every_category(self):
        """The part menu itself, given each category's first part at a middle
        size, finds the part file and hands it off with the category's layers."""
        if not os.path.isfile(self.cli):
            self.skipTest("tavelin-cli has not been built")
        root = os.path.join(self.tmp, "root")
        subprocess.run([self.cli, "--root", root, "init"], capture_output=True, check=True)
        info = os.path.join(root, "info")
        sheets = [line.split(":") for line in read_text(os.path.join(info, "SheetName.ini"))]
        names = {line.split(":")[0]: line.split(":")
                 for line in read_text(os.path.join(info, "BuzaiName.ini"))}
        layers = read_text(os.path.join(info, "TugiteSet.ini"))
        for c, cat in enumerate(CATEGORIES):
            key = "%d-1" % (c + 1)
            codes = [f for f in sheets if f[0] == key][0][2:]
            cell = [i for i, code in enumerate(codes) if code][0]
            sizes = read_text(os.path.join(info, GAIKEI[cat[0]]))
            size = len(sizes) // 2
            x = CELL_X[cell % 5] + 24
            y = CELL_Y[cell // 5] + 22
            result = subprocess.run(
                [self.cli, "--root", root, "run", "PartsMenuDialog", "select:1100=%d" % c,
                 "click:1111", "select:1101=%d" % size, "dblclick:1101=%d" % size,
                 "point:%d,%d" % (x, y), "cancel"], capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            label = [line for line in result.stdout.splitlines() if line.startswith("1121 ")]
            self.assertTrue(label and label[0].endswith('"%s"' % names[key][2 + cell]),
                            "category %d: %s" % (c, label))
            with open(os.path.join(info, "DrawData.txt"), encoding="cp932") as f:
                data = [line.split(",") for line in f.read().splitlines()]
            self.assertTrue(data, "category %d: nothing handed off" % c)
            solid_layer = layers[c].split(",")[0].split("-")[0]
            self.assertIn(solid_layer, {row[-2] for row in data}, "category %d" % c)

    def test_threaded_elbow_above_150a_is_no_part_and_the_menu_remembers(self):
        if not os.path.isfile(self.cli):
            self.skipTest("tavelin-cli has not been built")
        root = os.path.join(self.tmp, "root")
        subprocess.run([self.cli, "--root", root, "init"], capture_output=True, check=True)

        def run(*actions):
            result = subprocess.run([self.cli, "--root", root, "run", "PartsMenuDialog"] +
                                    list(actions) + ["cancel"], capture_output=True, text=True)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            label = [line for line in result.stdout.splitlines() if line.startswith("1121 ")]
            with open(os.path.join(root, "info", "DrawName.ini"), encoding="cp932") as f:
                return label[0].split('"')[1], f.read().split("_A")[0]

        # Threaded fittings (category 6), 90 degree elbow: 150A (index 11) is
        # made, 200A (index 12) is not, and the menu offers sizes up to 150A only.
        steel = read_text(os.path.join(root, "info", "Gaikei_Koukan.ini"))
        self.assertEqual([steel[11][:4], steel[12][:4]], ["150,", "200,"])
        cell = "point:%d,%d" % (CELL_X[0] + 24, CELL_Y[0] + 22)
        label, stem = run("select:1100=6", "click:1111", "dblclick:1101=11", cell)
        self.assertEqual(label, "90°エルボ")
        self.assertEqual(stem, "@NJ_K141401L1001")
        refused = subprocess.run([self.cli, "--root", root, "run", "PartsMenuDialog",
                                  "select:1100=6", "click:1111", "dblclick:1101=12", "cancel"],
                                 capture_output=True, text=True)
        self.assertEqual(refused.returncode, 2, refused.stdout)
        self.assertIn("control 1101 has no entry 12 (12 entries)", refused.stderr)
        sizes = [line.split(":") for line in read_text(os.path.join(root, "info", "BuzaiSize.ini"))]
        self.assertEqual([f[1].split(",")[-1] for f in sizes if f[0] == "7-1"], ["150"])
        # Reopened with no choice at all, the menu names the same part again.
        self.assertEqual(run(), (label, stem))


def tree_bytes(top):
    files = {}
    for folder, _, names in os.walk(top):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, top).replace(os.sep, "/")] = f.read()
    return files


if __name__ == "__main__":
    unittest.main(verbosity=2)
