"""For the lined box, the register box, the anemostat with neck, the silenced
elbow and the flexible duct: the headless "generate" leaves the same files as
opening the dialog, and a user's road through the dialog ends in a block."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

# stem, class, settings file, block prefix, status line, the road, checks of the settings.
CASES = [
    ("Ubox", "UboxDialog", "Ubox.ini", "UB_", 1024, ["select:1025=2", "click:1098", "ok"],
     lambda s: s[1] == "200" and s[4] == "3"),
    ("Kakubox", "KakuboxDialog", "Kakubox.ini", "KBX_", 1020,
     ["click:1187", "select:1192=4", "click:1013", "click:1005"],
     lambda s: s[2] == "150" and s[5] == "3"),
    ("AnemoU", "AnemoUDialog", "AnemoU.ini", "AU_", 1024, ["select:1110=4", "click:1113", "ok"],
     lambda s: s[7] == "#30" and s[8] == "2" and s[3] == s[5] == "300" and s[0] == "460" and s[4] == "530"),
    ("S_Erbo", "SErboDialog", "S_Erbo.ini", "SE_", 1024, ["click:1060", "click:1043", "ok"],
     lambda s: s[6] == "3" and s[7] == "3"),
    ("Flex", "FlexDialog", "Flex.ini", "FKD_", 1020, ["click:1139", "set:1142=400", "click:1005"],
     lambda s: s[4] == "400" and s[7] == "2"),
]

for stem, dialog, settings, prefix, status, road, check in CASES:
    with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
        run(generated, "init")
        run(opened, "init")
        run(generated, "generate", stem)
        run(opened, "run", dialog)
        for name in ["DrawData.txt", settings, "DrawName.ini"]:
            assert read(generated, name) == read(opened, name), (stem, name)
        assert read(generated, "DrawName.ini").startswith(prefix.encode()), stem
        assert len(read(generated, "DrawData.txt").split(b"\r\n")) > 5, stem

        out = run(opened, "run", dialog, *road)
        assert "message:" not in out, out
        assert check(read(opened, settings).decode("cp932").split("\r\n")), (stem, out)
        name = read(opened, "DrawName.ini").decode("cp932").strip()
        folder = os.path.join(opened, "blocks")
        placed = f'{status} static checked=0 enabled=1 visible=1 "ブロックを書き出しました：{name}（{folder}）"'
        assert placed in out, out
        assert os.path.exists(os.path.join(opened, "blocks", name + ".dxf")), name

        if stem == "Flex":
            # A radius factor below 1: one message, nothing written.
            before = read(opened, "Flex.ini")
            out = run(opened, "run", dialog, "set:1130=0.9", "click:1013")
            assert out.count("message:") == 1 and "中心曲率半径は1.0以下は入力できません。" in out, out
            assert read(opened, "Flex.ini") == before
            # An L bend the length or the first leg cannot take: OK says so
            # under the caption "表示更新" uses.
            for road, text in ((["set:1146=120", "set:1012=600", "set:1147=500"],
                                "Ｌが適正ではありません。"),
                               (["set:1146=120", "set:1012=1000", "set:1147=200"],
                                "Ａが適正ではありません。")):
                out = run(opened, "run", dialog, "click:1138", *road, "click:1005")
                # (The second road opens on the first one's settings, which
                # the opening names too.)
                assert f"message: 確認: {text}" in out and "入力確認" not in out, out
print("ok")
