"""The headless "generate Oti" leaves the same files as opening the dialog; a
user's road then picks a smaller small end, which centres it and lengthens the
reducer, turns it round and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Oti.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Oti")
    run(opened, "run", "OtiDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    records = read(generated, "DrawData.txt").decode("cp932").split("\r\n")
    assert records[0] == "50,300.000000,50.000000,300.000000,550.000000,", records[0]
    assert len(records) == 12, records  # extents, ten lines, the final line end
    assert read(generated, "DrawName.ini").startswith(b"TK_")

    # "200" is the third size: W2 = 200 centres the small end (P = Q = 100)
    # and the coefficient 1 makes L = 50 x 8 + 2 x 100.
    out = run(opened, "run", "OtiDialog", "select:1105=2", "click:1108", "ok")
    assert "message:" not in out, out
    # The run waits for the real builder: the status names the block it wrote.
    name = read(opened, "DrawName.ini").decode("cp932").strip()
    assert '1024 static checked=0 enabled=1 visible=1 "ブロックを書き出しました：%s（%s）"' % (
        name, os.path.join(opened, "blocks")) in out, out
    assert os.path.isfile(os.path.join(opened, "blocks", name + ".dxf")), name
    settings = read(opened, "Oti.ini").decode("cp932").split("\r\n")
    assert settings[1:4] == ["200", "100", "100"], settings
    assert settings[7] == "600" and settings[9] == "2", settings
    records = read(opened, "DrawData.txt").decode("cp932").split("\r\n")
    assert len(records) == 15, records  # the round end adds four lines, drops one
print("ok")
