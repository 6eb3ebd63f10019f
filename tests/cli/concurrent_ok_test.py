"""Two elbows made at once on one root, again and again: `tavelin-cli run
ErboDialog ... ok` twice in parallel, with widths whose weighted sums are
equal (W 500/400 and W 512/390), so that both processes, whose random
numbers run alike, ask for the same block name. Every block must hold its own
OK's drawing, every "block written" must have its file, and no name may ever
hold two different contents. TAVELIN_CONCURRENT_TRIES sets the number of
pairs (20 by default)."""
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import CLI, run  # noqa: E402

TRIES = int(os.environ.get("TAVELIN_CONCURRENT_TRIES", "20"))
# Inlet width (1003) and outlet width (1006); "表示更新" (1013) confirms them.
FITTINGS = {"A": ("500", "400"), "B": ("512", "390")}


def actions(widths):
    return ["set:1003=" + widths[0], "set:1006=" + widths[1], "click:1013", "ok"]


def entities(data):
    """The ENTITIES section of a block file, its drawing and extended data."""
    start = data.index(b"ENTITIES")
    return data[start:data.index(b"ENDSEC", start)]


def written(out):
    found = re.findall(r"^block written: (.*)$", out, re.M)
    assert len(found) == 1, out
    return found[0]


def block(root, name):
    with open(os.path.join(root, "blocks", name + ".dxf"), "rb") as f:
        return f.read()


with tempfile.TemporaryDirectory() as reference, tempfile.TemporaryDirectory() as root:
    # Each fitting made alone, for the drawing it must give.
    run(reference, "init")
    expected = {}
    for key, widths in FITTINGS.items():
        expected[key] = entities(block(reference, written(run(reference, "run", "ErboDialog",
                                                                *actions(widths)))))
    assert expected["A"] != expected["B"]
    # On a fresh root, with no main dialog before: the block still names its dialog.
    assert b"ErboDialog" in expected["A"] and b"Erbo" in expected["B"]

    run(root, "init")
    contents = {}  # name -> the bytes it was first seen with
    taken_again = 0
    for attempt in range(TRIES):
        runs = {key: subprocess.Popen([CLI, "--root", root, "run", "ErboDialog", *actions(widths)],
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                for key, widths in FITTINGS.items()}
        names = {}
        for key, process in runs.items():
            out, err = process.communicate(timeout=120)
            assert process.returncode == 0, (attempt, key, err.decode(), out.decode())
            names[key] = written(out.decode())
        assert names["A"] != names["B"], (attempt, names)
        for key, name in names.items():
            data = block(root, name)  # every "block written" has its file
            assert entities(data) == expected[key], (attempt, key, name)
            if name in contents:
                taken_again += 1
                assert contents[name] == data, (attempt, name)
            contents[name] = data
    # Nothing was ever replaced: every name still holds what it was first written with.
    for name, data in contents.items():
        assert block(root, name) == data, name
    assert not os.listdir(os.path.join(root, "jobs")), os.listdir(os.path.join(root, "jobs"))
    # The two fittings did ask for one name: one of them had to take the next.
    with open(os.path.join(root, "blocks", "builder.log"), encoding="utf-8") as f:
        assert "別の内容のブロック" in f.read()
    print(f"{TRIES} pairs: {len(contents)} names, {taken_again} blocks written again unchanged")
