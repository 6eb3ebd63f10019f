"""The dimension tables of the standards the catalogue is drawn to.

Each table is a CSV file in tables/ with a header line, one row per size and
a `source` column naming the standard and its table (or, for figures derived
by a rule, the rule; "unverified" where no public table could be checked).
Lines starting with "#" describe the table.  The generator reads every size
and dimension from here, so a figure is changed in one place only.
"""

import csv
import os

TABLE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tables")


class Table:
    def __init__(self, name, rows):
        self.name = name
        self.rows = rows  # dicts, in file order

    def row(self, nominal, **match):
        """The row of a nominal size (and matching further columns); None when absent."""
        for r in self.rows:
            if r["nominal"] == str(nominal) and all(r[k] == v for k, v in match.items()):
                return r
        return None

    def number(self, nominal, column, **match):
        """A dimension as a float; None when the size or the figure is absent."""
        r = self.row(nominal, **match)
        if r is None or not r[column].strip():
            return None
        return float(r[column])

    def nominals(self):
        return [r["nominal"] for r in self.rows]


_CACHE = {}


def load(name):
    """The table tables/<name>.csv; fails loudly on a row without a source."""
    if name not in _CACHE:
        path = os.path.join(TABLE_DIR, name + ".csv")
        with open(path, encoding="utf-8", newline="") as f:
            lines = [line for line in f if line.strip() and not line.startswith("#")]
        rows = list(csv.DictReader(lines))
        for r in rows:
            if None in r or None in r.values():
                raise ValueError("%s: a row with the wrong number of fields: %r" % (path, r))
            if not (r.get("nominal") and r.get("source")):
                raise ValueError("%s: a row without a size or a source: %r" % (path, r))
        _CACHE[name] = Table(name, rows)
    return _CACHE[name]


def all_tables():
    return sorted(f[:-4] for f in os.listdir(TABLE_DIR) if f.endswith(".csv"))
