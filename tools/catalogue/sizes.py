"""Pipe size tables: nominal size and outside diameter of each material class.

Each material class has one size table, installed as a Gaikei_*.ini file:
one size per line, the nominal size as the size lists show it, then the
outside diameter in millimetres, then a remark.  The part menu turns the
nominal size into a two-digit size code with the class's code table below;
a size listed in a table must therefore have a code there.
"""

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


def _spiral_duct():
    # Spiral duct (round duct of galvanised steel strip), named by its inside
    # diameter.  The sheet thickness follows the public building works
    # standard for mechanical installations (公共建築工事標準仕様書 機械設備工事編,
    # スパイラルダクトの板厚): 0.5 mm up to 450, 0.6 mm above 450 and up to 710.
    # Outside diameter = nominal + 2 x sheet thickness.
    rows = []
    for n in (100, 125, 150, 175, 200, 225, 250, 275, 300, 325, 350, 375, 400, 450, 500):
        t = 0.5 if n <= 450 else 0.6
        rows.append((str(n), round(n + 2 * t, 1), "板厚%.1f" % t))
    return rows


TABLES = [
    SizeTable(0, "Gaikei_Maru.ini", "スパイラルダクト", _spiral_duct()),
    # Carbon steel pipe for ordinary piping, SGP (JIS G 3452): nominal A, outside
    # diameter, nominal B.
    SizeTable(1, "Gaikei_Koukan.ini", "配管用炭素鋼鋼管 SGP", [
        ("10", 17.3, "3/8B"), ("15", 21.7, "1/2B"), ("20", 27.2, "3/4B"), ("25", 34.0, "1B"),
        ("32", 42.7, "1 1/4B"), ("40", 48.6, "1 1/2B"), ("50", 60.5, "2B"),
        ("65", 76.3, "2 1/2B"), ("80", 89.1, "3B"), ("100", 114.3, "4B"),
        ("125", 139.8, "5B"), ("150", 165.2, "6B"), ("200", 216.3, "8B"),
        ("250", 267.4, "10B"), ("300", 318.5, "12B"), ("350", 355.6, "14B"),
        ("400", 406.4, "16B"), ("450", 457.2, "18B"), ("500", 508.0, "20B"),
        ("550", 558.8, "22B"), ("600", 609.6, "24B")]),
    # Rigid PVC pipe, thick wall VP (JIS K 6741): nominal, outside diameter.
    SizeTable(2, "Gaikei_Enbi.ini", "硬質ポリ塩化ビニル管 VP", [
        ("13", 18.0, "VP13"), ("16", 22.0, "VP16"), ("20", 26.0, "VP20"), ("25", 32.0, "VP25"),
        ("30", 38.0, "VP30"), ("40", 48.0, "VP40"), ("50", 60.0, "VP50"), ("65", 76.0, "VP65"),
        ("75", 89.0, "VP75"), ("100", 114.0, "VP100"), ("125", 140.0, "VP125"),
        ("150", 165.0, "VP150"), ("200", 216.0, "VP200"), ("250", 267.0, "VP250"),
        ("300", 318.0, "VP300"), ("350", 370.0, "VP350"), ("400", 420.0, "VP400")]),
    # Copper tube for building services (JIS H 3300, C1220T, types K/L/M share
    # the outside diameters).  "18" is the 5/8 B tube (19.05 mm), which has no
    # A designation of its own.
    SizeTable(3, "Gaikei_Doukan.ini", "銅管 JIS H 3300", [
        ("8", 9.52, "1/4B"), ("10", 12.70, "3/8B"), ("15", 15.88, "1/2B"), ("18", 19.05, "5/8B"),
        ("20", 22.22, "3/4B"), ("25", 28.58, "1B"), ("32", 34.92, "1 1/4B"),
        ("40", 41.28, "1 1/2B"), ("50", 53.98, "2B"), ("65", 66.68, "2 1/2B"),
        ("80", 79.38, "3B"), ("100", 104.78, "4B"), ("125", 130.18, "5B"),
        ("150", 155.58, "6B")]),
    # Cast iron drain pipe (JIS G 5525), nominal bore 50 to 200.  The outside
    # diameter is the nominal bore plus twice the type 1 wall thickness.
    SizeTable(4, "Gaikei_cip.ini", "排水用鋳鉄管 JIS G 5525", [
        ("50", 62.0, "1種管"), ("65", 77.0, "1種管"), ("75", 87.0, "1種管"),
        ("100", 112.0, "1種管"), ("125", 138.0, "1種管"), ("150", 163.0, "1種管"),
        ("200", 214.0, "1種管")]),
    # Light-gauge stainless steel pipe for ordinary piping (JIS G 3448), Su sizes.
    SizeTable(5, "Gaikei_sus.ini", "一般配管用ステンレス鋼鋼管 JIS G 3448", [
        ("13", 15.88, "13Su"), ("20", 22.22, "20Su"), ("25", 28.58, "25Su"),
        ("30", 34.0, "30Su"), ("40", 42.7, "40Su"), ("50", 48.6, "50Su"),
        ("60", 60.5, "60Su")]),
]

TABLE_BY_MATERIAL = {t.material: t for t in TABLES}


def size_code(material, nominal):
    """The part menu's two-digit code of a nominal size; empty when unlisted."""
    return SIZE_CODES[material].get(nominal, "")
