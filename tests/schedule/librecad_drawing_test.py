"""`tavelin-cli schedule` on a drawing that LibreCAD 2.2 saved itself.

tests/schedule/librecad/ holds ten blocks written by `tavelin-cli batch`
(blocks/) and drawing.dxf: a drawing with those blocks placed, three of them
twice, opened in LibreCAD 2.2 and saved there with "Save as" (DXF 2007).
LibreCAD dropped the blocks' extended data, so each fitting is found by its
block name among the block files; every count must match the placements."""
import os
import subprocess
import sys

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
CLI = os.path.join(BIN, "tavelin-cli")
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "librecad")

if not os.path.exists(CLI):
    print("skipped: TAVELIN_BIN_DIR has no tavelin-cli")
    sys.exit(0)

drawing = os.path.join(HERE, "drawing.dxf")
with open(drawing, "rb") as f:
    text = f.read()
assert b"dxfrw" in text[:200] and b"TAVELIN" not in text, "not LibreCAD's save without the data"

run = subprocess.run([CLI, "schedule", drawing, "--blocks", os.path.join(HERE, "blocks")],
                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
assert run.returncode == 0, run.stdout + run.stderr
rows = [line.split("\t") for line in run.stdout.splitlines() if "\t" in line]
counts = {(row[1], row[2]): int(row[4]) for row in rows}
expected = {
    ("一般両エルボ", "W1=400 R=200 W2=400 L1=100 A=90° L2=100"): 2,
    ("一般両エルボ", "W1=600x300 R=300 W2=600x300 L1=100 A=90° L2=100"): 1,
    ("ダンパー", "type=VD L1=300 L2=300 W=100 D=400"): 2,
    ("直管", "450x200"): 2,
    ("直管", "800"): 1,
    ("45°エルボ", "13"): 1,
    ("90°エルボ", "13"): 1,
}
for key, count in expected.items():
    assert counts.get(key) == count, (key, counts.get(key), run.stdout)
kinds = sorted(row[1] for row in rows)
assert "アネモ+ボックス" in kinds and "フレキダクト" in kinds and "短管・片落管" in kinds, run.stdout
assert sum(int(row[4]) for row in rows) == 13, run.stdout
assert not any(row[0] == "その他のブロック" for row in rows), run.stdout
# Two 3640 mm runs of 450x200: 7.28 m with their joints.
duct = next(row for row in rows if row[1] == "直管" and row[2] == "450x200")
assert "7.280 m" in duct, duct
assert "placements: 13, rows: 10" in run.stdout, run.stdout
print("LibreCAD's drawing: 13 placements in 10 rows, every count right")
