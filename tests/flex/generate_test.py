"""The headless "generate Flex" leaves the same files as opening the dialog;
a user's road then types a radius factor below 1 (one message, nothing written), then lays an S and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Flex.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Flex")
    run(opened, "run", "FlexDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"FKD_")
    assert len(read(generated, "DrawData.txt").split(b"\r\n")) > 5
    before = read(opened, "Flex.ini")
    out = run(opened, "run", "FlexDialog", "set:1130=0.9", "click:1013")
    assert out.count("message:") == 1 and "中心曲率半径は1.0以下は入力できません。" in out, out
    assert read(opened, "Flex.ini") == before
    out = run(opened, "run", "FlexDialog", "click:1139", "set:1142=400", "click:1005")
    assert "message:" not in out, out
    settings = read(opened, "Flex.ini").decode("cp932").split("\r\n")
    assert settings[4] == "400" and settings[7] == "2", settings
    name = read(opened, "DrawName.ini").decode("cp932").strip()
    assert f'1020 static checked=0 enabled=1 visible=1 "「ブロック挿入」で配置できます：{name}"' in out, out
    assert os.path.exists(os.path.join(opened, "blocks", name + ".dxf")), name
print("ok")
