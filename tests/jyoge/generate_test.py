"""The headless "generate Jyoge" and "generate Jyoge2" leave the same files as
opening their dialogs; users' roads then change sizes and options and press OK
with the real block builder."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import read, run  # noqa: E402

for stem, prefix in (("Jyoge", b"EU_"), ("Jyoge2", b"ERS_")):
    files = ["DrawData.txt", stem + ".ini", "DrawName.ini"]
    with tempfile.TemporaryDirectory() as generated, tempfile.TemporaryDirectory() as opened:
        run(generated, "init")
        run(opened, "init")
        run(generated, "generate", stem)
        run(opened, "run", stem + "Dialog")
        for name in files:
            assert read(generated, name) == read(opened, name), (stem, name)
        assert read(generated, "DrawName.ini").startswith(prefix), stem

with tempfile.TemporaryDirectory() as root:
    run(root, "init")
    # "400" (the seventh size) for the height sets H and X: L = 400 x 1 + 100.
    out = run(root, "run", "JyogeDialog", "select:1040=6", "click:1077", "click:1079", "ok")
    assert "message:" not in out, out
    settings = read(root, "Jyoge.ini").decode("cp932").split("\r\n")
    assert settings[0] == "400" and settings[15] == "400" and settings[2] == "500", settings
    assert settings[10] == "2" and settings[11] == "2", settings
    name = read(root, "DrawName.ini").decode("cp932").strip()
    assert name.startswith("ES_") and "ブロックを書き出しました：" + name in out, out
    assert os.path.isfile(os.path.join(root, "blocks", name + ".dxf")), name

with tempfile.TemporaryDirectory() as root:
    run(root, "init")
    # The default elbows need 400 + 300 + 15 between their centres.
    out = run(root, "run", "Jyoge2Dialog", "set:1090=4", "set:1091=715", "click:1092", "ok")
    assert "message:" not in out, out
    settings = read(root, "Jyoge2.ini").decode("cp932").split("\r\n")
    assert settings[16:19] == ["4", "715", "1"], settings
    assert read(root, "DrawName.ini").startswith(b"ERL_")
    records = read(root, "DrawData.txt").decode("cp932").split("\r\n")
    assert records[0].startswith("50,2745.000000,"), records[0]  # 3 x 715 + 400 + 150 + 50

    # A list choice that leaves too short a pitch (600 for H and X needs 1315)
    # is refused at once, and the last valid run stays handed off.
    # (Each run opens the dialog anew, which hands off its first name again.)
    run(root, "run", "Jyoge2Dialog")
    before = [read(root, n) for n in ("DrawData.txt", "Jyoge2.ini", "DrawName.ini")]
    out = run(root, "run", "Jyoge2Dialog", "select:1040=10")
    assert out.count("message:") == 1, out
    assert "message: 入力確認: ピッチが短く、エルボが重なります。\\nピッチは1315以上" in out, out
    assert [read(root, n) for n in ("DrawData.txt", "Jyoge2.ini", "DrawName.ini")] == before
    # Absurd sizes are named in their own field.
    for road, field in ((["set:1091=1e300"], "ピッチ"), (["set:1016=1e12"], "X")):
        out = run(root, "run", "Jyoge2Dialog", *road, "click:1013")
        assert out.count("message:") == 1 and f"入力確認: {field}の値が大きすぎます。" in out, out
        assert [read(root, n) for n in ("DrawData.txt", "Jyoge2.ini", "DrawName.ini")] == before
print("ok")
