"""The headless "generate Furiage" leaves the same files as opening the dialog;
a user's road then asks for an overall length and presses OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

FILES = ["DrawData.txt", "Furiage.ini", "DrawName.ini"]

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    run(generated, "generate", "Furiage")
    run(opened, "run", "FuriageDialog")
    for name in FILES:
        assert read(generated, name) == read(opened, name), name
    assert read(generated, "DrawName.ini").startswith(b"FAG_")

    # "全長指定" with 1500: the angle found is 27.5 (0.5R, F 600, R1 = R2 = 100).
    out = run(opened, "run", "FuriageDialog", "set:1167=1500", "click:1001", "ok")
    assert "message:" not in out, out
    assert '"ブロックを書き出しました：FAG_' in out, out
    settings = read(opened, "Furiage.ini").decode("cp932").split("\r\n")
    assert settings[4] == "1500" and settings[7] == "27.5" and settings[8] == "2", settings
print("ok")
