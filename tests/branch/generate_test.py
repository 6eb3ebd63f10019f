"""The headless "generate" of the branch fittings and the S-bend leaves the
same files as opening their dialogs; a user's road then ends in OK."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

PLACED = '1024 static checked=0 enabled=1 visible=1 "ブロックを書き出しました'

with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
    run(generated, "init")
    run(opened, "init")
    for stem, cls, prefix in [("Bunki2", "Bunki2Dialog", b"NI_"), ("Bunki3", "Bunki3Dialog", b"SN_"),
                              ("Tuki", "TukiDialog", b"TT_"), ("Smagari", "SmagariDialog", b"SK_")]:
        run(generated, "generate", stem)
        run(opened, "run", cls)
        for name in ["DrawData.txt", stem + ".ini", "DrawName.ini"]:
            assert read(generated, name) == read(opened, name), (stem, name)
        records = read(generated, "DrawData.txt").decode("cp932").split("\r\n")
        assert records[0].startswith("50,"), records[0]
        assert len(records) > 5 and "nan" not in "".join(records), records
        assert read(generated, "DrawName.ini").startswith(prefix), stem

    root = opened
    # Both ways, the main duct divided 1 to 2, the inner corner as base, OK.
    out = run(root, "run", "Bunki2Dialog", "click:1041", "set:1012=1-2", "click:1013",
              "click:1039", "ok")
    assert "message:" not in out, out
    assert PLACED in out, out
    settings = read(root, "Bunki2.ini").decode("cp932").split("\r\n")
    assert settings[4:7] == ["200", "400", "1-2"] and settings[13] == "1" and settings[14] == "2", settings
    assert read(root, "DrawName.ini").startswith(b"SO_")
    # A ratio summing to 0 is refused with a message and changes nothing.
    out = run(root, "run", "Bunki2Dialog", "set:1012=0-0", "click:1013")
    assert "message:" in out and "入力確認" in out, out
    assert read(root, "Bunki2.ini").decode("cp932").split("\r\n")[4:6] == ["200", "400"]
    # A width too large for any drawing never reaches the hand-off: OK refuses.
    out = run(root, "run", "Bunki3Dialog", "set:1014=1e300", "click:1016", "ok", status=3)
    assert PLACED not in out, out
    assert b"nan" not in read(root, "DrawData.txt") and b"inf" not in read(root, "DrawData.txt")
print("ok")
