"""The headless "generate Kakubox" leaves the same files as opening the dialog;
a user's road then picks the third register type, a wider margin, updates and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Kakubox.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Kakubox")
    run(opened, "run", "KakuboxDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"KBX_")
    assert len(read(generated, "DrawData.txt").split(b"\r\n")) > 5
    out = run(opened, "run", "KakuboxDialog", "click:1187", "select:1192=4", "click:1013", "click:1005")
    assert "message:" not in out, out
    settings = read(opened, "Kakubox.ini").decode("cp932").split("\r\n")
    assert settings[2] == "150" and settings[5] == "3", settings
    assert '1196 static checked=0 enabled=1 visible=1 "700"' in out, out
    name = read(opened, "DrawName.ini").decode("cp932").strip()
    assert f'1020 static checked=0 enabled=1 visible=1 "「ブロック挿入」で配置できます：{name}"' in out, out
    assert os.path.exists(os.path.join(opened, "blocks", name + ".dxf")), name
print("ok")
