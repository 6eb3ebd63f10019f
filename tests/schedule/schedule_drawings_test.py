"""`tavelin-cli schedule` on drawings made outside: ten blocks written by the
batch are placed in drawings by ezdxf, and the schedule's counts must be the
counts of the placements.

- A drawing as ezdxf makes it (R2010): the blocks keep their extended data
  (two of them lose it and are found by name), placed directly, scaled,
  mirrored, rotated, as an array, and inside nested blocks of other origin
  placed in turn; a placement in paper space and a block never placed do
  not count.
- Drawings in the form LibreCAD saves them (R12 and R2007: the blocks'
  geometry and their INSERTs, no extended data and no APPID), each block
  once or twice: every fitting is found by its name among the block files.
  These files are written by ezdxf in that form; librecad_drawing_test.py
  reads one that LibreCAD saved itself.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

try:
    import ezdxf
except ImportError:
    if sys.executable != "/usr/bin/python3" and os.path.exists("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    print("skipped: ezdxf is not installed")
    sys.exit(0)

BIN = os.environ.get("TAVELIN_BIN_DIR", "")
CLI = os.path.join(BIN, "tavelin-cli")

# Ten fittings: two elbows of one size (the second block a copy under
# another name), one elbow typed as width x height, a damper, two straight
# ducts, a reducer and an anemostat on their stored settings, two pipe parts.
BATCH = """stem,type,W1,R,W2,A,L1,L2,D,size,length,pitch,category,classification,cell,main_size
Erbo,,400,200,400,90,100,100,,,,,,,,
Erbo,,600x300,300,600x300,90,100,100,,,,,,,,
Danpa,VD,,,,,300,300,400,,,,,,,
Choku,,,,,,,,,450x200,3640,1820,,,,
Choku,,,,,,,,,800,1740,1740,,,,
Oti,,,,,,,,,,,,,,,
AnemoB,,,,,,,,,,,,,,,
BuzaiSentaku,,,,,,,,,,,,0,1,1,13
BuzaiSentaku,,,,,,,,,,,,0,1,2,13
"""
KEYS = ["ER400", "ER600", "DANPA", "CK450", "CK800", "OTI", "ANEMOB", "PART90", "PART45"]


def run(args):
    return subprocess.run([CLI] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def make_blocks(root):
    listing = os.path.join(root, "list.csv")
    with open(listing, "w", encoding="utf-8") as f:
        f.write(BATCH)
    done = run(["--root", root, "batch", listing, "--json"])
    assert done.returncode == 0, done.stdout + done.stderr
    results = json.loads(done.stdout)["results"]
    names = dict(zip(KEYS, [r["block"] for r in results]))
    assert len(set(names.values())) == len(KEYS), names
    # The tenth block: the first elbow copied under a name of its own.
    blocks = os.path.join(root, "blocks")
    shutil.copy(os.path.join(blocks, names["ER400"] + ".dxf"),
                os.path.join(blocks, names["ER400"] + "_COPY.dxf"))
    names["ER400B"] = names["ER400"] + "_COPY"
    return names


def copy_block(doc, blocks, name, keep_xdata):
    source = ezdxf.readfile(os.path.join(blocks, name + ".dxf"))
    block = doc.blocks.new(name)
    for e in source.modelspace():
        kind = e.dxftype()
        if kind == "LINE":
            copy = block.add_line(e.dxf.start, e.dxf.end)
        elif kind == "ARC":
            copy = block.add_arc(e.dxf.center, e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle)
        elif kind == "CIRCLE":
            copy = block.add_circle(e.dxf.center, e.dxf.radius)
        else:
            continue
        copy.dxf.color = e.dxf.color
        if keep_xdata and e.has_xdata("TAVELIN"):
            copy.set_xdata("TAVELIN", list(e.get_xdata("TAVELIN")))


def expected_counts(model, nested):
    """Placements of every block through the nesting: {name: count}."""
    counts = {}

    def place(name, times):
        counts[name] = counts.get(name, 0) + times
        for child, n in nested.get(name, []):
            place(child, times * n)

    for name, n in model:
        place(name, n)
    return counts


def schedule(drawing, root, blocks=None):
    args = ["--root", root, "schedule", drawing, "--json"]
    if blocks:
        args += ["--blocks", blocks]
    done = run(args)
    assert done.returncode == 0, done.stdout + done.stderr
    return json.loads(done.stdout)


def check(result, names, counts, label):
    """Every block's placements land in one row of the right section."""
    by_block = {}
    for row in result["rows"]:
        for block in row["blocks"]:
            assert block not in by_block, (label, block, "in two rows")
            by_block[block] = row
    tavelin = set(names.values())
    for block, count in counts.items():
        row = by_block.get(block)
        assert row is not None, (label, block, "missing")
        if block in tavelin:
            assert row["section"] != "その他のブロック", (label, block, row)
        else:
            assert row["section"] == "その他のブロック" and row["count"] == count, (label, block, row)
    for row in result["rows"]:
        assert row["count"] == sum(counts[b] for b in row["blocks"]), (label, row, counts)
    assert set(by_block) == set(counts), (label, sorted(set(by_block) ^ set(counts)))
    assert result["placements"] == sum(counts.values()), (label, result["placements"])
    return by_block


def main():
    if not os.path.exists(CLI):
        print("FAIL: tavelin-cli is not built: " + CLI)
        return 1
    root = tempfile.mkdtemp(prefix="tavelin_schedule_")
    try:
        assert run(["--root", root, "init"]).returncode == 0
        names = make_blocks(root)
        blocks = os.path.join(root, "blocks")
        n = names

        # --- ezdxf: nesting, transformed placements, blocks of other origin.
        doc = ezdxf.new("R2010")
        doc.appids.new("TAVELIN")
        without_xdata = {n["CK800"], n["PART45"]}
        for name in names.values():
            copy_block(doc, blocks, name, keep_xdata=name not in without_xdata)
        door = doc.blocks.new("DOOR")
        door.add_line((0, 0), (900, 0))
        detail = doc.blocks.new("ROOM_DETAIL")
        detail.add_blockref(n["DANPA"], (0, 0))
        detail.add_blockref(n["PART90"], (500, 0), dxfattribs={"xscale": 2, "yscale": 2})
        room = doc.blocks.new("ROOM")
        room.add_blockref(n["ER400"], (0, 0))
        room.add_blockref(n["ER400"], (2000, 0), dxfattribs={"xscale": -1})
        room.add_blockref(n["CK450"], (0, 3000), dxfattribs={"rotation": 90})
        room.add_blockref("DOOR", (5000, 0))
        room.add_blockref("ROOM_DETAIL", (0, 6000), dxfattribs={"rotation": 180})
        unused = doc.blocks.new("UNUSED")
        unused.add_blockref(n["OTI"], (0, 0))
        msp = doc.modelspace()
        msp.add_blockref("ROOM", (0, 0), dxfattribs={"rotation": 30})
        msp.add_blockref("ROOM", (20000, 0), dxfattribs={"xscale": 0.5, "yscale": 0.5})
        msp.add_blockref("ROOM", (40000, 0), dxfattribs={"xscale": -1, "rotation": 45})
        msp.add_blockref(n["ER600"], (0, -5000), dxfattribs={"rotation": 270})
        msp.add_blockref(n["ER400B"], (3000, -5000))
        msp.add_blockref(n["ER400B"], (6000, -5000), dxfattribs={"yscale": -1})
        msp.add_blockref(n["CK800"], (0, -9000))
        msp.add_blockref(n["OTI"], (3000, -9000))
        grid = msp.add_blockref(n["ANEMOB"], (0, -15000))
        grid.grid(size=(2, 3), spacing=(1000, 1500))  # 2 rows of 3 columns
        msp.add_blockref(n["PART45"], (0, -20000))
        msp.add_blockref(n["PART45"], (500, -20000), dxfattribs={"rotation": 90})
        for x in range(4):
            msp.add_blockref("DOOR", (x * 1000, -25000))
        doc.layout("Layout1").add_blockref(n["ER600"], (0, 0))  # paper space: not counted
        drawing = os.path.join(root, "ezdxf.dxf")
        doc.saveas(drawing)

        model = [("ROOM", 3), (n["ER600"], 1), (n["ER400B"], 2), (n["CK800"], 1), (n["OTI"], 1),
                 (n["ANEMOB"], 6), (n["PART45"], 2), ("DOOR", 4)]
        nested = {"ROOM": [(n["ER400"], 2), (n["CK450"], 1), ("DOOR", 1), ("ROOM_DETAIL", 1)],
                  "ROOM_DETAIL": [(n["DANPA"], 1), (n["PART90"], 1)]}
        counts = expected_counts(model, nested)
        assert counts["DOOR"] == 7 and counts[n["ER400"]] == 6 and counts[n["PART90"]] == 3
        result = schedule(drawing, root)
        rows = check(result, names, counts, "ezdxf")
        # Blocks of one fitting are one row: the elbow and its copy.
        elbow = rows[n["ER400"]]
        assert elbow is rows[n["ER400B"]] and elbow["count"] == 8, elbow
        assert elbow["kind"] == "一般両エルボ" and "W1=400" in elbow["dimensions"], elbow
        assert elbow["sheet_thickness_mm"] is None, elbow  # no height: nothing guessed
        assert rows[n["ER600"]]["sheet_thickness_mm"] == 0.6, rows[n["ER600"]]
        assert "公共建築工事標準仕様書" in rows[n["ER600"]]["thickness_source"]
        assert rows[n["CK800"]]["recognised_by"] == "name", rows[n["CK800"]]
        assert rows[n["PART45"]]["recognised_by"] == "name", rows[n["PART45"]]
        assert rows[n["ER600"]]["recognised_by"] == "xdata", rows[n["ER600"]]
        duct = rows[n["CK450"]]
        assert duct["section"] == "直管" and duct["dimensions"] == "450x200", duct
        # Three pieces of 3640 mm, each with its end joints and one at 1820 mm.
        assert duct["total_length_m"] == 10.92 and duct["joints"] == 9, duct
        assert duct["sheet_thickness_mm"] == 0.5, duct
        assert abs(duct["sheet_area_m2"] - 2 * (0.45 + 0.2) * 10.92) < 0.006, duct
        plain = rows[n["CK800"]]
        assert plain["total_length_m"] == 1.74 and plain["sheet_area_m2"] is None, plain
        parts = {rows[n[k]]["kind"]: rows[n[k]] for k in ("PART90", "PART45")}
        assert set(parts) == {"90°エルボ", "45°エルボ"}, parts
        assert all(p["section"] == "配管部材" and p["dimensions"] == "13" for p in parts.values())

        # Without the block files, the two blocks that lost their data are
        # other blocks; the others still carry theirs.
        bare = schedule(drawing, root, blocks=os.path.join(root, "no-such-folder"))
        others = {b for row in bare["rows"] if row["section"] == "その他のブロック"
                  for b in row["blocks"]}
        assert others == {"DOOR", "ROOM", "ROOM_DETAIL", n["CK800"], n["PART45"]}, others

        # --- The form LibreCAD saves: no extended data, found by name.
        for version in ("R12", "R2007"):
            doc = ezdxf.new(version)
            placed = []
            for i, key in enumerate(sorted(names)):
                copy_block(doc, blocks, names[key], keep_xdata=False)
                times = 2 if i % 3 == 0 else 1
                for t in range(times):
                    doc.modelspace().add_blockref(names[key], (i * 3000, t * 3000))
                placed.append((names[key], times))
            drawing = os.path.join(root, "librecad_%s.dxf" % version)
            doc.saveas(drawing)
            with open(drawing, "rb") as f:
                assert b"TAVELIN" not in f.read()
            counts = expected_counts(placed, {})
            rows = check(schedule(drawing, root), names, counts, version)
            assert all(row["recognised_by"] == "name" for row in rows.values()), version
            assert rows[n["ER400"]]["count"] == counts[n["ER400"]] + counts[n["ER400B"]]
        print("ok: ezdxf, LibreCAD-form R12 and R2007 drawings counted")
        return 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
