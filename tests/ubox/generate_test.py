"""The headless "generate Ubox" leaves the same files as opening the dialog;
a user's road then chooses a depth from its list, the corner base point and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Ubox.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Ubox")
    run(opened, "run", "UboxDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"UB_")
    assert len(read(generated, "DrawData.txt").split(b"\r\n")) > 5
    out = run(opened, "run", "UboxDialog", "select:1025=2", "click:1098", "ok")
    assert "message:" not in out, out
    settings = read(opened, "Ubox.ini").decode("cp932").split("\r\n")
    sizes = read(opened, "KiokuSize.ini").decode("cp932").split("\r\n")
    assert settings[1] == sizes[2] and settings[4] == "3", settings
    name = read(opened, "DrawName.ini").decode("cp932").strip()
    assert f'1024 static checked=0 enabled=1 visible=1 "「ブロック挿入」で配置できます：{name}"' in out, out
    assert os.path.exists(os.path.join(opened, "blocks", name + ".dxf")), name
print("ok")
