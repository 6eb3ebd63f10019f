"""A new user's road through the command line: open the part menu from the
main dialog, pick a category, a classification, a cell, the sizes, a
rotation, a base point and the mirror, press OK; then change the layer of a
category in the pipe part attributes and confirm with Enter."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli import run  # noqa: E402


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def read(root, name):
    with open(os.path.join(root, "info", name), "rb") as f:
        return f.read().decode("cp932").split("\r\n")[:-1]


def control(out, ident):
    for line in out.splitlines():
        if line.startswith(f"{ident} "):
            return line
    sys.exit(f"no control {ident} in:\n{out}")


with tempfile.TemporaryDirectory() as root:
    run(root, "init")
    info = os.path.join(root, "info")
    names = ["ＴＳ継手", "ＤＶ継手"] + [f"部材{c}" for c in range(2, 22)]
    write(os.path.join(info, "TugiteName.ini"), names)
    write(os.path.join(info, "TugiteSet.ini"),
          [f"S{c}-1-7,H{c}-2-8,C{c}-5-1" for c in range(22)])
    write(os.path.join(info, "Gaikei_Enbi.ini"), ["13,18", "50,60"])
    write(os.path.join(info, "SheetName.ini"), ["1-1:TS1:L10A" + ":" * 19])
    write(os.path.join(info, "BuzaiName.ini"), ["1-1:エルボ:90°エルボ" + ":" * 19])
    write(os.path.join(info, "waku.tec"), ["0,1,0,0,0,0,", "1,1,0,0,0,1256.410256,0,"])
    write(os.path.join(info, "TS_Sheet1.tec"), ["0,1,0,0,0,0,", "1,1,0,0,0,1256.410256,0,"])
    write(os.path.join(root, "TS", "EPUPUSLL1001.ajc"),
          ["0,1,30,20,10,5,", "1,1,0,10,-10,60,-20,", "2,2,0,4,-3,2,0,90,"])

    out = run(root, "run", "MainDialog", "click:1000")
    assert "dialog: 配置部材選択メニュー" in out, out
    assert read(root, "Command.ini") == ["0"]

    out = run(root, "run", "PartsMenuDialog", "select:1100=0", "click:1111", "dblclick:1101=1",
              "point:250,30", "click:1135", "click:1140", "click:1150", "click:1160")
    assert "message:" not in out, out
    assert "90°エルボ" in control(out, 1121), out
    assert "ブロックを書き出しました" in control(out, 1170), out
    name = read(root, "DrawName.ini")
    assert len(name) == 1 and name[0].startswith("@TS_E090913L1001_F"), name
    data = read(root, "DrawData.txt")
    assert len(data) == 2 and data[0].startswith("1,1,7,") and data[0].endswith(",S0,"), data
    assert data[1].startswith("2,2,8,") and data[1].endswith(",H0,"), data

    # The mirror after OK hands off another drawing: OK is asked for again.
    out = run(root, "run", "PartsMenuDialog", "select:1100=0", "click:1111", "dblclick:1101=1",
              "point:250,30", "click:1160", "click:1150")
    assert "message:" not in out, out
    assert '"選択後OKをクリック"' in control(out, 1170), out

    # A part that is not in the catalogue: the label says so and OK refuses.
    out = run(root, "run", "PartsMenuDialog", "select:1100=0", "click:1112", "point:250,30",
              "click:1160")
    assert "部品がありません。" in control(out, 1121), out
    assert "message: 確認: 部品がありません。" in out, out

    out = run(root, "run", "MainDialog", "click:1001")
    assert "dialog: 配管継手・部材属性設定" in out, out
    out = run(root, "run", "PipeAttrDialog", "select:1200=3", "set:1210=NEWLAYER", "ok")
    assert "message:" not in out, out
    assert read(root, "TugiteSet.ini")[3] == "NEWLAYER-1-7,H3-2-8,C3-5-1"
print("ok")
