"""Pipe size tables: nominal size and outside diameter of each material class.

Each material class has one size table, installed as a Gaikei_*.ini file:
one size per line, the nominal size as the size lists show it, then the
outside diameter in millimetres, then a remark.  The part menu turns the
nominal size into a two-digit size code with the class's code table below;
a size listed in a table must therefore have a code there.

The sizes and diameters come from the standards' tables (standards.py,
tables/pipe_*.csv and tables/duct_spiral.csv).  The same rows give the
diameter lists of the raised duct (DIAMETER_LISTS).
"""

import standards

# Size codes of the part menu, per material class (nominal size -> code).
SIZE_CODES = {
    0: {"100": "01", "125": "02", "150": "03", "175": "04", "200": "05", "225": "06",
        "250": "07", "275": "08", "300": "09", "325": "10", "350": "11", "375": "12",
        "400": "13", "450": "14", "500": "15"},
    1: {"10": "02", "15": "03", "20": "05", "25": "06", "32": "07", "40": "08", "50": "09",
        "65": "10", "80": "11", "100": "12", "125": "13", "150": "14", "200": "15", "250": "16",
        "300": "17", "350": "18", "400": "19", "450": "20", "500": "21", "550": "22",
        "600": "23"},
    2: {"13": "03", "16": "04", "20": "05", "25": "06", "30": "07", "40": "08", "50": "09",
        "65": "10", "75": "11", "100": "12", "125": "13", "150": "14", "200": "15", "250": "16",
        "300": "17", "350": "18", "400": "19"},
    3: {"8": "01", "10": "02", "15": "03", "18": "04", "20": "05", "25": "06", "32": "07",
        "40": "08", "50": "09", "65": "10", "80": "11", "100": "12", "125": "13", "150": "14"},
    4: {"40": "08", "50": "09", "65": "10", "75": "11", "100": "12", "125": "13", "150": "14",
        "200": "15", "250": "16", "300": "17"},
    5: {"13": "03", "20": "05", "25": "06", "30": "07", "40": "08", "50": "09", "60": "10"},
}


class SizeTable:
    def __init__(self, material, file_name, title, rows):
        self.material = material
        self.file_name = file_name
        self.title = title
        # (nominal text, outside diameter mm, remark)
        self.rows = rows

    def nominals(self):
        return [r[0] for r in self.rows]

    def outside(self, nominal):
        for r in self.rows:
            if r[0] == nominal:
                return r[1]
        raise KeyError(nominal)


def _listed(name):
    """(nominal, outside diameter, label) rows of a table that lists the diameter."""
    return [(r["nominal"], float(r["outside"]), r["label"]) for r in standards.load(name).rows]


def _cast_iron():
    # Outside diameter = nominal bore + 2 x wall (the table holds the wall).
    return [(r["nominal"], round(float(r["nominal"]) + 2 * float(r["wall"]), 2), r["label"])
            for r in standards.load("pipe_cast_iron").rows]


def _spiral_duct():
    # Outside diameter = nominal (inside) diameter + 2 x sheet thickness.
    rows = []
    for r in standards.load("duct_spiral").rows:
        t = float(r["sheet"])
        rows.append((r["nominal"], round(float(r["nominal"]) + 2 * t, 1), "板厚%.1f" % t))
    return rows


TABLES = [
    SizeTable(0, "Gaikei_Maru.ini", "スパイラルダクト", _spiral_duct()),
    SizeTable(1, "Gaikei_Koukan.ini", "鋼管 SGP (550A・600A は STPY400)", _listed("pipe_steel")),
    SizeTable(2, "Gaikei_Enbi.ini", "硬質ポリ塩化ビニル管 VP (350・400 は VU)",
              _listed("pipe_pvc")),
    SizeTable(3, "Gaikei_Doukan.ini", "銅管", _listed("pipe_copper")),
    SizeTable(4, "Gaikei_cip.ini", "排水用鋳鉄管", _cast_iron()),
    SizeTable(5, "Gaikei_sus.ini", "一般配管用ステンレス鋼鋼管", _listed("pipe_stainless")),
]

TABLE_BY_MATERIAL = {t.material: t for t in TABLES}

# The diameter lists of the raised duct: file name and the material class
# whose outside diameters it lists (copper, PVC, steel, round duct).
DIAMETER_LISTS = [
    ("DokanKei.ini", 3),
    ("EnbiKei.ini", 2),
    ("KokanKei.ini", 1),
    ("MaruDakutoKei.ini", 0),
]


def size_code(material, nominal):
    """The part menu's two-digit code of a nominal size; empty when unlisted."""
    return SIZE_CODES[material].get(nominal, "")
