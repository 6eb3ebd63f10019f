"""The headless "generate AnemoU" leaves the same files as opening the dialog;
a user's road then picks the neck size #30, the square anemostat and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "AnemoU.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "AnemoU")
    run(opened, "run", "AnemoUDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"AU_")
    assert len(read(generated, "DrawData.txt").split(b"\r\n")) > 5
    out = run(opened, "run", "AnemoUDialog", "select:1110=4", "click:1113", "ok")
    assert "message:" not in out, out
    settings = read(opened, "AnemoU.ini").decode("cp932").split("\r\n")
    size = [l for l in read(opened, "AnemoSyoki.ini").decode("cp932").split("\r\n")
            if l.startswith("#30,")][0].split(",")
    assert settings[7] == "#30" and settings[8] == "2", settings
    assert settings[3] == size[1] and settings[5] == size[1] and settings[0] == size[2], settings
    assert settings[4] == size[4], settings
    name = read(opened, "DrawName.ini").decode("cp932").strip()
    assert f'1024 static checked=0 enabled=1 visible=1 "「ブロック挿入」で配置できます：{name}"' in out, out
    assert os.path.exists(os.path.join(opened, "blocks", name + ".dxf")), name
print("ok")
