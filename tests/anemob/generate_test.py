"""The headless "generate AnemoB" leaves the same files as opening the dialog;
a user's road then changes the neck size and the shape and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "AnemoB.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "AnemoB")
    run(opened, "run", "AnemoBDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    records = read(generated, "DrawData.txt").decode("cp932").split("\r\n")
    assert records[0].startswith("50,"), records[0]
    assert len(records) > 10, records
    assert read(generated, "DrawName.ini").startswith(b"AB_")

    # Select "#30" (the fifth size), then the paddle shape, then OK.
    out = run(opened, "run", "AnemoBDialog", "select:1115=4", "click:1118", "ok")
    assert "message:" not in out, out
    # The run waits for the real builder: the status names the block it wrote.
    name = read(opened, "DrawName.ini").decode("cp932").strip()
    assert '1024 static checked=0 enabled=1 visible=1 "ブロックを書き出しました：%s（%s）"' % (
        name, os.path.join(opened, "blocks")) in out, out
    assert os.path.isfile(os.path.join(opened, "blocks", name + ".dxf")), name
    settings = read(opened, "AnemoB.ini").decode("cp932").split("\r\n")
    assert settings[10] == "#30" and settings[11] == "1", settings
    neck = [l for l in read(opened, "AnemoSyoki.ini").decode("cp932").split("\r\n")
            if l.startswith("#30,")][0].split(",")
    assert settings[3] == neck[1] and settings[4] == neck[4], (settings, neck)
    assert int(settings[0]) == 2 * int(settings[8]) + int(neck[1]), settings
print("ok")
